// The six sound slots of the program and the working copies that the options dialog edits,
// with playing an event and the "Sounds" values of the options store.
#pragma once

#include "notify/one_sound.h"
#include "util/settings_store.h"

#include <QString>
#include <array>

namespace quillet {

class TSoundPlayer;

// Slot numbers.
enum : int {
    sndNone = 0,     // no selection in the options dialog
    sndPreview = 1,  // filled by the options dialog's Test button
    sndNewMail = 2,  // new mail has arrived
    sndNoMail = 3,   // a check found no new mail
    sndDelete = 4,   // mail marked for deleting
    sndUndelete = 5, // delete mark removed
};

class TSoundTable {
public:
    static constexpr int SlotCount = 6;
    // The section of the options store that holds the stored slots.
    static constexpr const char* Section = "Sounds";

    // Fills the slots with the defaults and the four built-in names.
    explicit TSoundTable(TSoundPlayer& Player);

    // The slot's setting; nullptr for a number outside 0..5.
    TOneSound* Sound(int Slot);
    TOneSound* WorkingCopy(int Slot);
    // Gives the working copies the names of the slots (when the options dialog opens).
    void CopyNamesToWorkingCopies();

    // The master switch; with it off no event plays.
    bool SoundOn = true;

    // Plays the event of the slot: nothing when sounds are off or the slot is inactive; the
    // built-in sound of its name without waiting; otherwise its file, to the end. A missing
    // sound, file or resource gives silence and no message.
    void Play(int Slot);

    // The four stored slots (2 to 5) in that order: each read with its current text form as the
    // default, and written back in the same form.
    void LoadSounds(TSettingsStore& Store);
    void SaveSounds(TSettingsStore& Store) const;

    // Where the built-in sound of a name lives: the resource type "WAV", then the name.
    static QString BuiltInPath(const std::string& SoundName);

private:
    TSoundPlayer& FPlayer;
    std::array<TOneSound, SlotCount> FSlots;
    std::array<TOneSound, SlotCount> FWorking;
};

} // namespace quillet
