// The program's pictures, compiled in as resources: the button picture list (0..11), the
// picture list (0..10), the tray icon and the application icon. All are drawn as SVG, so they
// stay sharp at every size and scale.
#pragma once

#include <QIcon>

namespace quillet {

// Makes the compiled-in pictures available; called once before the first picture is used.
void InitPictures();

// The button picture list.
enum TButtonPicture : int {
    bpTelephone = 0,
    bpAbort = 1,
    bpProperties = 2,
    bpMarkForDelete = 3,
    bpAutoCheckOn = 4,
    bpAutoCheckOff = 5,
    bpAccountActive = 6,
    bpAccountInactive = 7,
    bpAccountChecking = 8,
    bpOptions = 9,
    bpSetupAccounts = 10,
    bpExit = 11,
};
QIcon ButtonPicture(int Index);
// The picture list: 3..7 are envelopes with badges.
enum TListPicture : int {
    lpSortDown = 0,
    lpSortUp = 1,
    lpEnvelope = 2,
    lpMarkedForDelete = 8,
    lpPage = 9,
    lpSheets = 10,
};
QIcon ListPicture(int Index);

QIcon AppIcon();
// Picture with a warning badge in its corner: an account whose checks keep failing.
QIcon WithWarningBadge(const QIcon& Picture);
// The tray icon; NewMail shows that new mail is waiting.
QIcon TrayPicture(bool NewMail);

} // namespace quillet
