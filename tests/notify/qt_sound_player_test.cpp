// The real Qt output, on a machine that may have no sound device: nothing may hang or crash.
#include "notify/qt_sound_player.h"
#include "notify/sound_table.h"
#include "tests/support/temp_settings.h"

#include <QElapsedTimer>
#include <QFile>
#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(QtSoundPlayer, FilesThatAreNoSoundEndTheWaitAtOnce) {
    test::TTempAppDir dir;
    dir.WriteFile("noise.wav", std::string("RIFF\x10\0\0\0WAVEfmt garbage", 24));
    dir.WriteFile("empty.wav", "");
    TQtSoundPlayer player;
    for (const char* name : {"noise.wav", "empty.wav", "missing.wav"}) {
        QElapsedTimer clock;
        clock.start();
        player.PlayFileToEnd(QString::fromStdString(dir.FilePath(name)));
        EXPECT_LT(clock.elapsed(), 1000) << name;
    }
}

TEST(QtSoundPlayer, BuiltInSoundsStartWithoutWaitingAndAFileEndsItsWait) {
    TQtSoundPlayer player;
    TSoundTable table(player);
    QElapsedTimer clock;
    clock.start();
    table.Play(sndDelete);
    table.Play(sndUndelete); // cuts the first one off
    EXPECT_LT(clock.elapsed(), 2000);

    // A real sound played to its end (or given up on without a device) in bounded time.
    test::TTempAppDir dir;
    QFile resource(TSoundTable::BuiltInPath("SND_NOMAIL"));
    ASSERT_TRUE(resource.open(QIODevice::ReadOnly));
    dir.WriteFile("nomail.wav", resource.readAll().toStdString());
    clock.restart();
    player.PlayFileToEnd(QString::fromStdString(dir.FilePath("nomail.wav")));
    EXPECT_LT(clock.elapsed(), 10000);
}

} // namespace
} // namespace quillet
