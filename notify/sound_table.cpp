#include "notify/sound_table.h"

#include "notify/sound_player.h"
#include "util/text_convert.h"

#include <QFile>
#include <QFileInfo>

// The built-in sounds are compiled into this static library; registering them here keeps the
// linker from dropping them.
static void RegisterSoundResources() {
    Q_INIT_RESOURCE(sounds);
}

namespace quillet {

TSoundTable::TSoundTable(TSoundPlayer& Player) : FPlayer(Player) {
    RegisterSoundResources();
    FSlots[sndNewMail].SoundName = "SND_NEWMAIL";
    FSlots[sndNoMail].SoundName = "SND_NOMAIL";
    FSlots[sndDelete].SoundName = "SND_DELETE";
    FSlots[sndUndelete].SoundName = "SND_UNDELETE";
}

TOneSound* TSoundTable::Sound(int Slot) {
    return Slot >= 0 && Slot < SlotCount ? &FSlots[static_cast<std::size_t>(Slot)] : nullptr;
}

TOneSound* TSoundTable::WorkingCopy(int Slot) {
    return Slot >= 0 && Slot < SlotCount ? &FWorking[static_cast<std::size_t>(Slot)] : nullptr;
}

void TSoundTable::CopyNamesToWorkingCopies() {
    for (std::size_t i = 0; i < FSlots.size(); ++i)
        FWorking[i].SoundName = FSlots[i].SoundName;
}

QString TSoundTable::BuiltInPath(const std::string& SoundName) {
    return QStringLiteral(":/WAV/") + ToQString(SoundName);
}

void TSoundTable::Play(int Slot) {
    const TOneSound* sound = Sound(Slot);
    if (!SoundOn || !sound || !sound->IsActive)
        return;
    if (sound->BuiltIn) {
        const QString resource = BuiltInPath(sound->SoundName);
        if (!sound->SoundName.empty() && QFile::exists(resource))
            FPlayer.PlayResource(resource);
        return;
    }
    const QString file = ToQString(sound->WavePath);
    if (!file.isEmpty() && QFileInfo(file).isFile())
        FPlayer.PlayFileToEnd(file);
}

void TSoundTable::LoadSounds(TSettingsStore& Store) {
    for (int slot = sndNewMail; slot <= sndUndelete; ++slot) {
        TOneSound& sound = FSlots[static_cast<std::size_t>(slot)];
        sound.FromText(Store.ReadString(Section, sound.SoundName, sound.ToText()));
    }
}

void TSoundTable::SaveSounds(TSettingsStore& Store) const {
    for (int slot = sndNewMail; slot <= sndUndelete; ++slot) {
        const TOneSound& sound = FSlots[static_cast<std::size_t>(slot)];
        Store.WriteString(Section, sound.SoundName, sound.ToText());
    }
}

} // namespace quillet
