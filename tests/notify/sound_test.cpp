#include "notify/one_sound.h"
#include "notify/sound_player.h"
#include "notify/sound_table.h"
#include "tests/support/temp_settings.h"

#include <QFile>
#include <QtEndian>
#include <gtest/gtest.h>
#include <vector>

namespace quillet {
namespace {

TEST(OneSound, StoredForms) {
    struct {
        const char* text;
        bool active, builtIn;
        const char* path;
    } const rows[] = {
        {"act=1,builtin=1,path=", true, true, ""},
        {"", true, true, ""},
        {"act=0", false, true, ""},
        {"act=0,builtin=0,path=C:\\Sounds\\ding.wav", false, false, "C:\\Sounds\\ding.wav"},
        {"builtin=0,path=/snd/a.wav,act=0", false, false, "/snd/a.wav"},
        {"act=,builtin=", true, true, ""},
        {"act=00,builtin=no", true, true, ""},
        {"act=0,act=1", false, true, ""},
        {"ACT=0", true, true, ""},
        {"xact=0,path=/p", true, true, "/p"},
        {"act=1,builtin=0,path=/home/me/My,Sounds/a.wav", true, false, "/home/me/My,Sounds/a.wav"},
        {"path=/p/exact=0.wav,act=1,builtin=0", true, false, "/p/exact=0.wav"},
        {"path=/x,builtin=0", true, false, "/x"},
        {",,,=,act", true, true, ""},
    };
    for (const auto& row : rows) {
        TOneSound sound;
        sound.SoundName = "SND_NEWMAIL";
        sound.FromText(row.text);
        EXPECT_EQ(sound.IsActive, row.active) << row.text;
        EXPECT_EQ(sound.BuiltIn, row.builtIn) << row.text;
        EXPECT_EQ(sound.WavePath, row.path) << row.text;
        EXPECT_EQ(sound.SoundName, "SND_NEWMAIL");
    }
}

class TRecordingPlayer : public TSoundPlayer {
public:
    void PlayResource(const QString& ResourcePath) override { Played.push_back("resource " + ResourcePath); }
    void PlayFileToEnd(const QString& FilePath) override { Played.push_back("file " + FilePath); }
    std::vector<QString> Played;
};

TEST(SoundTable, WhatPlays) {
    TRecordingPlayer player;
    TSoundTable table(player);
    for (int slot = -1; slot <= 6; ++slot)
        table.Play(slot);
    EXPECT_EQ(player.Played,
              (std::vector<QString>{"resource :/WAV/SND_NEWMAIL", "resource :/WAV/SND_NOMAIL",
                                    "resource :/WAV/SND_DELETE", "resource :/WAV/SND_UNDELETE"}));

    player.Played.clear();
    table.SoundOn = false;
    for (int slot = 0; slot < TSoundTable::SlotCount; ++slot)
        table.Play(slot);
    EXPECT_TRUE(player.Played.empty());
    table.SoundOn = true;

    table.Sound(sndNewMail)->IsActive = false;
    table.Play(sndNewMail);
    EXPECT_TRUE(player.Played.empty());

    // A user's file plays only when it exists; an empty or missing path is silent.
    test::TTempAppDir dir;
    dir.WriteFile("mine.wav", "RIFF");
    table.Sound(sndDelete)->BuiltIn = false;
    for (const std::string& path :
         {std::string(), dir.FilePath("missing.wav"), dir.AppDir(), dir.FilePath("mine.wav")}) {
        table.Sound(sndDelete)->WavePath = path;
        table.Play(sndDelete);
    }
    EXPECT_EQ(player.Played,
              (std::vector<QString>{"file " + QString::fromStdString(dir.FilePath("mine.wav"))}));

    // The preview slot plays whatever name the options dialog gives it.
    player.Played.clear();
    for (const char* name : {"SND_UNDELETE", "SND_NOSUCH"}) {
        table.Sound(sndPreview)->SoundName = name;
        table.Play(sndPreview);
    }
    EXPECT_EQ(player.Played, (std::vector<QString>{"resource :/WAV/SND_UNDELETE"}));
}

TEST(SoundTable, StoredValues) {
    TRecordingPlayer player;
    TSoundTable table(player);
    test::TTempSettingsStore store;
    store.WriteString("Sounds", "SND_NOMAIL", "act=0");
    store.WriteString("Sounds", "SND_DELETE", "act=1,builtin=0,path=/snd/del.wav");
    store.WriteString("Sounds", "SND_UNDELETE", "");
    table.LoadSounds(store);

    const TOneSound& newMail = *table.Sound(sndNewMail);
    EXPECT_TRUE(newMail.IsActive && newMail.BuiltIn && newMail.WavePath.empty());
    EXPECT_FALSE(table.Sound(sndNoMail)->IsActive);
    EXPECT_FALSE(table.Sound(sndDelete)->BuiltIn);
    EXPECT_EQ(table.Sound(sndDelete)->WavePath, "/snd/del.wav");
    EXPECT_TRUE(table.Sound(sndUndelete)->IsActive && table.Sound(sndUndelete)->BuiltIn);

    test::TTempSettingsStore saved;
    table.SaveSounds(saved);
    EXPECT_EQ(saved.WriteCount(), 4);
    EXPECT_EQ(saved.ReadString("Sounds", "SND_NEWMAIL", ""), "act=1,builtin=1,path=");
    EXPECT_EQ(saved.ReadString("Sounds", "SND_NOMAIL", ""), "act=0,builtin=1,path=");
    EXPECT_EQ(saved.ReadString("Sounds", "SND_DELETE", ""), "act=1,builtin=0,path=/snd/del.wav");
    EXPECT_EQ(saved.ReadString("Sounds", "SND_UNDELETE", ""), "act=1,builtin=1,path=");
}

TEST(SoundTable, BuiltInSoundsAreShortDistinctMonoPcmWaves) {
    TRecordingPlayer player;
    TSoundTable table(player); // registers the resources
    std::vector<QByteArray> seen;
    for (const char* name : {"SND_NEWMAIL", "SND_NOMAIL", "SND_DELETE", "SND_UNDELETE"}) {
        QFile f(TSoundTable::BuiltInPath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name;
        const QByteArray wav = f.readAll();
        ASSERT_GT(wav.size(), 44) << name;
        const auto* p = reinterpret_cast<const uchar*>(wav.constData());
        EXPECT_EQ(wav.left(4), "RIFF");
        EXPECT_EQ(wav.mid(8, 8), "WAVEfmt ");
        EXPECT_EQ(qFromLittleEndian<quint16>(p + 20), 1) << name << ": PCM";
        EXPECT_EQ(qFromLittleEndian<quint16>(p + 22), 1) << name << ": mono";
        const quint32 byteRate = qFromLittleEndian<quint32>(p + 28);
        EXPECT_LT(double(wav.size() - 44) / byteRate, 1.5) << name << ": short";
        for (const auto& other : seen)
            EXPECT_NE(other, wav) << name;
        seen.push_back(wav);
    }
}

} // namespace
} // namespace quillet
