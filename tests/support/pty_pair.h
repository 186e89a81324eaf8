#pragma once

#include <QByteArray>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace tormel::test {

// A pseudo-terminal pair from socat: the program listens on one end, the
// test writes the logger's bytes into the other.
class PtyPair {
public:
    PtyPair()
    {
        socat_.setProcessChannelMode(QProcess::MergedChannels);
        socat_.start(QStringLiteral("socat"), {QStringLiteral("-d"), QStringLiteral("-d"), QStringLiteral("pty,raw,echo=0"),
                                                QStringLiteral("pty,raw,echo=0")});
        QString log;
        static const QRegularExpression pty(QStringLiteral("PTY is (\\S+)"));
        // Both names come before socat starts its transfer loop.
        while (ends_.size() < 2 && socat_.waitForReadyRead(5000)) {
            log += QString::fromLocal8Bit(socat_.readAll());
            ends_.clear();
            for (auto it = pty.globalMatch(log); it.hasNext();)
                ends_ << it.next().captured(1);
        }
        if (ends_.size() == 2)
            logger_ = ::open(ends_[1].toLocal8Bit().constData(), O_WRONLY | O_NOCTTY);
    }
    ~PtyPair()
    {
        if (logger_ >= 0)
            ::close(logger_);
        end();
    }
    bool ready() const { return logger_ >= 0; }
    QString programEnd() const { return ends_.value(0); }
    QString loggerEnd() const { return ends_.value(1); }
    void send(const QByteArray& bytes) const
    {
        ASSERT_EQ(::write(logger_, bytes.constData(), std::size_t(bytes.size())), bytes.size());
    }
    void end()
    {
        socat_.kill();
        socat_.waitForFinished();
    }

private:
    QProcess socat_;
    QStringList ends_;
    int logger_ = -1;
};

}  // namespace tormel::test
