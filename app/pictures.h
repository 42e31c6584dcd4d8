// The program's pictures, compiled in as resources: the button picture list (0..11), the
// picture list (0..10), the tray icon and the application icon. All are drawn as SVG, so they
// stay sharp at every size and scale.
#pragma once

#include <QIcon>

namespace quillet {

// Makes the compiled-in pictures available; called once before the first picture is used.
void InitPictures();

// Button picture list: 0 telephone, 1 abort, 2 properties, 3 mark for deleting, 4 auto checking
// on, 5 off, 6 account active, 7 inactive, 8 being checked, 9 options, 10 setup accounts, 11 exit.
QIcon ButtonPicture(int Index);
// Picture list: 0 and 1 sort triangles, 2 envelope, 3..7 envelopes with badges, 8 envelope
// marked for deleting, 9 written page, 10 sheets.
QIcon ListPicture(int Index);

QIcon AppIcon();
// The tray icon; NewMail shows that new mail is waiting.
QIcon TrayPicture(bool NewMail);

} // namespace quillet
