// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/ControlSecret.h"

#include "protocol/LocalControl.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavolen::service {

namespace {

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// From the kernel's random source, which blocks only until it is seeded.
bool randomBytes(QByteArray &out)
{
    for (qsizetype got = 0; got < out.size();) {
        const ssize_t n = ::getrandom(out.data() + got, std::size_t(out.size() - got), 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        got += n;
    }
    return true;
}

// The directory, this user's and closed to others, whether it was there or not.
bool ownDirectory(const QByteArray &dir, QString &error)
{
    if (::mkdir(dir.constData(), 0700) != 0 && errno != EEXIST) {
        error = QStringLiteral("cannot create %1: %2").arg(QFile::decodeName(dir), systemError());
        return false;
    }
    struct stat st {};
    if (::lstat(dir.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) {
        error = QStringLiteral("%1 is not a directory of this user's").arg(QFile::decodeName(dir));
        return false;
    }
    if ((st.st_mode & 0777) != 0700 && ::chmod(dir.constData(), 0700) != 0) {
        error = QStringLiteral("cannot close %1 to others: %2").arg(QFile::decodeName(dir), systemError());
        return false;
    }
    return true;
}

} // namespace

std::unique_ptr<ControlSecret> ControlSecret::create(const QString &runtimeDir, int port, QString &error)
{
    const QString named = runtimeDir + QLatin1Char('/') + protocol::controlSecretName(port);
    const QByteArray dir = QFile::encodeName(QFileInfo(named).absolutePath());
    if (!ownDirectory(dir, error))
        return nullptr;
    QByteArray bytes(32, Qt::Uninitialized);
    if (!randomBytes(bytes)) {
        error = QStringLiteral("no random bytes for the control secret: %1").arg(systemError());
        return nullptr;
    }
    const QByteArray hex = bytes.toHex();
    const QByteArray path = QFile::encodeName(named);
    // Written whole under another name, then renamed: a reader never sees
    // half a secret. mkstemp creates it 0600.
    QByteArray temporary = path + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        error = QStringLiteral("cannot write %1: %2").arg(QFile::decodeName(path), systemError());
        return nullptr;
    }
    const bool written = ::write(fd, hex.constData(), std::size_t(hex.size())) == hex.size();
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temporary.constData(), path.constData()) != 0) {
        error = QStringLiteral("cannot write %1: %2").arg(QFile::decodeName(path), systemError());
        ::unlink(temporary.constData());
        return nullptr;
    }
    return std::unique_ptr<ControlSecret>(
        new ControlSecret(QFile::decodeName(path), QString::fromLatin1(hex)));
}

ControlSecret::~ControlSecret()
{
    ::unlink(QFile::encodeName(m_path).constData());
}

} // namespace tavolen::service
