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

TSoundTable::TSoundTable(TSoundPlayer& Player) : Player(Player) {
    RegisterSoundResources();
    Slots[sndNewMail].SoundName = "SND_NEWMAIL";
    Slots[sndNoMail].SoundName = "SND_NOMAIL";
    Slots[sndDelete].SoundName = "SND_DELETE";
    Slots[sndUndelete].SoundName = "SND_UNDELETE";
}

TOneSound* TSoundTable::Sound(int Slot) {
    return Slot >= 0 && Slot < SlotCount ? &Slots[static_cast<std::size_t>(Slot)] : nullptr;
}

TOneSound* TSoundTable::WorkingCopy(int Slot) {
    return Slot >= 0 && Slot < SlotCount ? &Working[static_cast<std::size_t>(Slot)] : nullptr;
}

void TSoundTable::CopyNamesToWorkingCopies() {
    for (std::size_t i = 0; i < Slots.size(); ++i)
        Working[i].SoundName = Slots[i].SoundName;
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
            Player.PlayResource(resource);
        return;
    }
    const QString file = ToQString(sound->WavePath);
    if (!file.isEmpty() && QFileInfo(file).isFile())
        Player.PlayFileToEnd(file);
}

void TSoundTable::LoadSounds(TSettingsStore& Store) {
    for (int slot = sndNewMail; slot <= sndUndelete; ++slot) {
        TOneSound& sound = Slots[static_cast<std::size_t>(slot)];
        sound.FromText(Store.ReadString(Section, sound.SoundName, sound.ToText()));
    }
}

void TSoundTable::SaveSounds(TSettingsStore& Store) const {
    for (int slot = sndNewMail; slot <= sndUndelete; ++slot) {
        const TOneSound& sound = Slots[static_cast<std::size_t>(slot)];
        Store.WriteString(Section, sound.SoundName, sound.ToText());
    }
}

} // namespace quillet
