// Sound output through Qt Multimedia's QSoundEffect.
#pragma once

#include "notify/sound_player.h"

#include <QHash>
#include <QObject>

class QSoundEffect;

namespace quillet {

class TQtSoundPlayer : public QObject, public TSoundPlayer {
    Q_OBJECT
public:
    explicit TQtSoundPlayer(QObject* Parent = nullptr);
    ~TQtSoundPlayer() override;

    // One loaded effect per built-in sound, kept for reuse; starting one stops the one before.
    void PlayResource(const QString& ResourcePath) override;
    // Waits in a local event loop until the file has played, could not be played, or has had
    // more time than any PCM wave file of its size can need.
    void PlayFileToEnd(const QString& FilePath) override;

private:
    QHash<QString, QSoundEffect*> FEffects;
    QSoundEffect* FCurrent = nullptr;
};

} // namespace quillet
