#include "tests/support/scripted_pop3_server.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace quillet::test {

TScriptedPop3Server::TScriptedPop3Server() : Server_(new QTcpServer(this)) {
    connect(Server_, &QTcpServer::newConnection, this, &TScriptedPop3Server::Accept);
}

TScriptedPop3Server::~TScriptedPop3Server() {
    if (Client_)
        Client_->disconnect(this);
}

TScriptedPop3Server& TScriptedPop3Server::Send(std::string Bytes) {
    Steps_.push_back({TStep::kSend, std::move(Bytes), {}, 0});
    return *this;
}

TScriptedPop3Server& TScriptedPop3Server::SendChunks(std::vector<std::string> Chunks, int GapMs) {
    Steps_.push_back({TStep::kChunks, {}, std::move(Chunks), GapMs});
    return *this;
}

TScriptedPop3Server& TScriptedPop3Server::Expect(std::string Line) {
    Steps_.push_back({TStep::kExpect, std::move(Line), {}, 0});
    return *this;
}

TScriptedPop3Server& TScriptedPop3Server::Silence(int Ms) {
    Steps_.push_back({TStep::kSilence, {}, {}, Ms});
    return *this;
}

TScriptedPop3Server& TScriptedPop3Server::Close() {
    Steps_.push_back({TStep::kClose, {}, {}, 0});
    return *this;
}

bool TScriptedPop3Server::Listen() {
    return Server_->listen(QHostAddress::LocalHost, 0);
}

std::uint16_t TScriptedPop3Server::Port() const {
    return Server_->serverPort();
}

std::vector<std::string> TScriptedPop3Server::Errors() const {
    std::vector<std::string> errors = Errors_;
    for (const auto& line : Pending_)
        errors.push_back("unexpected client line '" + line + "'");
    return errors;
}

void TScriptedPop3Server::Accept() {
    while (QTcpSocket* socket = Server_->nextPendingConnection()) {
        if (Client_) {
            Errors_.push_back("unexpected second connection");
            socket->abort();
            socket->deleteLater();
            continue;
        }
        Client_ = socket;
        connect(Client_, &QIODevice::readyRead, this, &TScriptedPop3Server::ReadLines);
        Advance();
    }
}

void TScriptedPop3Server::ReadLines() {
    const QByteArray bytes = Client_->readAll();
    Buffer_.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    std::size_t end;
    while ((end = Buffer_.find('\n')) != std::string::npos) {
        std::string line = Buffer_.substr(0, end);
        Buffer_.erase(0, end + 1);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        Received_.push_back(line);
        Pending_.push_back(line);
    }
    Advance();
}

void TScriptedPop3Server::Write(const std::string& Bytes) {
    Client_->write(Bytes.data(), static_cast<qint64>(Bytes.size()));
    Client_->flush();
}

void TScriptedPop3Server::Advance() {
    while (!Paused_ && Client_ && Next_ < Steps_.size()) {
        TStep& step = Steps_[Next_];
        switch (step.kind) {
        case TStep::kSend:
            Write(step.text);
            ++Next_;
            break;
        case TStep::kChunks:
            if (ChunkIndex_ < step.chunks.size())
                Write(step.chunks[ChunkIndex_++]);
            if (ChunkIndex_ >= step.chunks.size()) {
                ChunkIndex_ = 0;
                ++Next_;
                break;
            }
            Paused_ = true;
            QTimer::singleShot(step.ms, Qt::PreciseTimer, this, [this] {
                Paused_ = false;
                Advance();
            });
            return;
        case TStep::kExpect:
            if (Pending_.empty())
                return; // wait for the client
            if (Pending_.front() != step.text)
                Errors_.push_back("expected '" + step.text + "', got '" + Pending_.front() + "'");
            Pending_.erase(Pending_.begin());
            ++Next_;
            break;
        case TStep::kSilence:
            ++Next_;
            Paused_ = true;
            QTimer::singleShot(step.ms, Qt::PreciseTimer, this, [this] {
                Paused_ = false;
                Advance();
            });
            return;
        case TStep::kClose:
            ++Next_;
            Client_->disconnectFromHost();
            return;
        }
    }
}

} // namespace quillet::test
