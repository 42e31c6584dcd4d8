// One event's sound setting and the text form in which it is stored:
// "act=<0|1>,builtin=<0|1>,path=<file>".
#pragma once

#include <string>
#include <string_view>

namespace quillet {

class TOneSound {
public:
    bool IsActive = true;  // the event makes a sound
    std::string SoundName; // the built-in sound's name, also the name the setting is stored under
    bool BuiltIn = true;   // play the built-in sound; false plays WavePath
    std::string WavePath;  // full path of a .wav file of the user's

    // The stored form: the three keys in the order act, builtin, path, no spaces.
    std::string ToText() const;

    // Reads IsActive, BuiltIn and WavePath from a stored value; SoundName stays. Keys are found
    // at the start of the value or after a comma, in any order. Only a flag that is exactly "0"
    // is false; a missing or other flag is true. The path runs to the next ",act=",
    // ",builtin=" or ",path=", or to the end of the value, so a path may contain commas. Every
    // text parses, at worst to the defaults.
    void FromText(std::string_view Text);
};

} // namespace quillet
