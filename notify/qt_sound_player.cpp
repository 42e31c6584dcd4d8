#include "notify/qt_sound_player.h"

#include "notify/wave_header.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

namespace quillet {

namespace {

// Loading a sound of a few megabytes and starting the output take well under this.
constexpr int LongestStartMs = 1000;

} // namespace

TQtSoundPlayer::TQtSoundPlayer(QObject* Parent) : QObject(Parent) {}

TQtSoundPlayer::~TQtSoundPlayer() = default;

void TQtSoundPlayer::PlayResource(const QString& ResourcePath) {
    QSoundEffect*& effect = FEffects[ResourcePath];
    if (!effect) {
        effect = new QSoundEffect(this);
        effect->setSource(QUrl(QStringLiteral("qrc") + ResourcePath));
    }
    if (FCurrent && FCurrent != effect)
        FCurrent->stop();
    effect->stop();
    effect->play();
    FCurrent = effect;
}

void TQtSoundPlayer::PlayFileToEnd(const QString& FilePath) {
    // A new sound cuts off the one still playing.
    if (FCurrent) {
        FCurrent->stop();
        FCurrent = nullptr;
    }
    // The effect loads the whole file into memory: a file far larger than any event sound is
    // left silent rather than loaded.
    constexpr qint64 largestFile = 64LL * 1024 * 1024;
    QFile file(FilePath);
    const qint64 size = file.size();
    if (size <= 0 || size > largestFile || !file.open(QIODevice::ReadOnly))
        return;
    // Qt's sample loader can stall for good on data that is no wave, and then keeps every later
    // effect from being released: only files that look like playable waves go to it.
    const QByteArray head = file.read(WaveHeadSize);
    file.close();
    const auto wave = ReadWaveHead(std::string_view(head.constData(), static_cast<std::size_t>(head.size())));
    if (!wave)
        return;
    // The wait ends at the latest when the sound must have ended.
    const int longestPlayMs = LongestPlayMs(*wave, static_cast<std::uint64_t>(size), LongestStartMs);
    QSoundEffect effect;
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    bool started = false;
    auto startWhenLoaded = [&] {
        if (effect.status() == QSoundEffect::Error) {
            loop.quit();
        } else if (effect.status() == QSoundEffect::Ready && !started) {
            started = true;
            effect.play();
        }
    };
    connect(&effect, &QSoundEffect::statusChanged, &loop, startWhenLoaded);
    connect(&effect, &QSoundEffect::playingChanged, &loop, [&] {
        if (started && !effect.isPlaying())
            loop.quit();
    });
    effect.setSource(QUrl::fromLocalFile(FilePath));
    startWhenLoaded();
    if (effect.status() == QSoundEffect::Error)
        return;
    limit.start(longestPlayMs);
    // Without a working sound output the effect never starts: no reason to wait then.
    QTimer startCheck;
    startCheck.setSingleShot(true);
    connect(&startCheck, &QTimer::timeout, &loop, [&] {
        if (!effect.isPlaying())
            loop.quit();
    });
    startCheck.start(LongestStartMs);
    // The user's sound plays to its end before the program goes on. Sockets, timers and painting
    // keep being served meanwhile, but no key press or click runs a command in the middle of it
    // (a second Del would otherwise start a second, nested sound).
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    effect.stop();
}

} // namespace quillet
