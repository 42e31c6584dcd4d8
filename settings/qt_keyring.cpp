#include "settings/qt_keyring.h"

#include <QEventLoop>
#include <QTimer>
#include <qt6keychain/keychain.h>

namespace quillet {

namespace {

// Starts Job and waits for it: its reply, or Failed when it gave none in time. A job that is
// left waiting deletes itself once it finishes; nothing here refers to it any more.
template <class TJob, class TOnDone> TKeyringReply RunJob(TJob* Job, int TimeoutMs, TOnDone OnDone) {
    Job->setAutoDelete(true);
    TKeyringReply reply;
    bool finished = false;
    QEventLoop loop;
    QObject::connect(Job, &QKeychain::Job::finished, &loop, [&](QKeychain::Job*) {
        finished = true;
        switch (Job->error()) {
        case QKeychain::NoError:
            reply.Status = TKeyringStatus::Ok;
            OnDone(*Job, reply);
            break;
        case QKeychain::EntryNotFound:
            reply.Status = TKeyringStatus::NotFound;
            break;
        default:
            // Without a Secret Service QtKeychain answers OtherError, not NoBackendAvailable:
            // every error but "not found" means the keyring cannot be used now.
            reply.Status = TKeyringStatus::Failed;
            reply.Error = Job->errorString();
            break;
        }
        loop.quit();
    });
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    timeout.start(TimeoutMs);
    Job->start();
    if (!finished)
        loop.exec();
    if (!finished) {
        reply.Status = TKeyringStatus::Failed;
        reply.Error =
            QCoreApplication::translate("TKeyring", "no answer within %n seconds", nullptr, TimeoutMs / 1000);
    }
    return reply;
}

} // namespace

TQtKeyring::TQtKeyring(QString Service, int TimeoutMs)
    : FService(std::move(Service)), FTimeoutMs(TimeoutMs) {}

TKeyringReply TQtKeyring::Read(const std::string& Key) {
    auto* job = new QKeychain::ReadPasswordJob(FService);
    job->setKey(QString::fromStdString(Key));
    return RunJob(job, FTimeoutMs, [](QKeychain::ReadPasswordJob& Job, TKeyringReply& Reply) {
        Reply.Secret = Job.binaryData().toStdString(); // the bytes as written, text or not
    });
}

TKeyringReply TQtKeyring::Write(const std::string& Key, const std::string& Secret) {
    auto* job = new QKeychain::WritePasswordJob(FService);
    job->setKey(QString::fromStdString(Key));
    const QByteArray bytes = QByteArray::fromStdString(Secret);
    // Text where it is text, so that the desktop's keyring manager shows it as typed; other
    // bytes (a password from an old settings file) are kept exactly.
    const QString text = QString::fromUtf8(bytes);
    if (text.toUtf8() == bytes)
        job->setTextData(text);
    else
        job->setBinaryData(bytes);
    return RunJob(job, FTimeoutMs, [](QKeychain::WritePasswordJob&, TKeyringReply&) {});
}

TKeyringReply TQtKeyring::Remove(const std::string& Key) {
    auto* job = new QKeychain::DeletePasswordJob(FService);
    job->setKey(QString::fromStdString(Key));
    return RunJob(job, FTimeoutMs, [](QKeychain::DeletePasswordJob&, TKeyringReply&) {});
}

} // namespace quillet
