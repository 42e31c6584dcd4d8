// An error that escapes an event handler is shown by the application object, and the program
// goes on.
#include "app/quillet_application.h"
#include "dialogs/message_box.h"

#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <stdexcept>

namespace quillet::test {

TEST(QuilletApplication, ErrorInASlotIsShownAndTheProgramGoesOn) {
    TMessageBoxScript boxes;
    QPushButton button("Go");
    button.resize(80, 30);
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&clicks] {
        if (++clicks == 1)
            throw std::runtime_error("'ZZ' is not a valid integer value");
    });
    const auto click = [&button] {
        const QPointF at(10, 10);
        const QPointF global = button.mapToGlobal(at);
        QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        TQuilletApplication::NotifyGuarded(*qApp, &button, &press);
        return TQuilletApplication::NotifyGuarded(*qApp, &button, &release);
    };

    EXPECT_FALSE(click());
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].Title, "Quillet");
    EXPECT_EQ(boxes.Shown()[0].Text, "'ZZ' is not a valid integer value");
    EXPECT_EQ(boxes.Shown()[0].Icon, TMessageIcon::Error);

    // The button, and the event loop, work on.
    click();
    QTest::qWait(1);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(boxes.Shown().size(), 1u);
}

} // namespace quillet::test
