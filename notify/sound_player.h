// The sound output behind the sound table, so that tests can record what would play.
#pragma once

#include <QString>

namespace quillet {

class TSoundPlayer {
public:
    virtual ~TSoundPlayer() = default;
    // Starts a built-in sound (a Qt resource path) and returns at once; a sound still playing
    // is cut off by the new one.
    virtual void PlayResource(const QString& ResourcePath) = 0;
    // Plays a .wav file to its end; the user interface keeps dispatching events meanwhile.
    virtual void PlayFileToEnd(const QString& FilePath) = 0;
};

} // namespace quillet
