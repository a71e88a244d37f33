// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/ApiKeyFile.h"

#include "protocol/LocalControl.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavolen::service {

namespace {

constexpr qsizetype kMaxKeyBytes = 16 * 1024;

QString fail(const QString &path, const QString &why)
{
    return QStringLiteral("the API key file %1 %2").arg(path, why);
}

} // namespace

QString apiKeyFilePath(const QString &configDir)
{
    return configDir + QLatin1Char('/') + QLatin1String(protocol::kKeyFileName);
}

KeyRead readApiKeyFile(const QString &path)
{
    // Opened first and judged by what was opened: a check of the name
    // followed by an open could be raced by a swapped link. A FIFO would
    // block the open, hence O_NONBLOCK.
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return {{},
                fail(path, errno == ENOENT ? QStringLiteral("does not exist")
                                           : QStringLiteral("cannot be read: %1")
                                                 .arg(QString::fromLocal8Bit(std::strerror(errno))))};
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return {{}, fail(path, QStringLiteral("is not a regular file"))};
    if (st.st_uid != ::geteuid())
        return {{}, fail(path, QStringLiteral("belongs to another user"))};
    if ((st.st_mode & 077) != 0)
        return {{},
                fail(path, QStringLiteral("may be read by others (mode %1); make it 0600 with "
                                          "chmod 600")
                               .arg(st.st_mode & 0777, 4, 8, QLatin1Char('0')))};
    QByteArray bytes(kMaxKeyBytes + 1, Qt::Uninitialized);
    qsizetype got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, std::size_t(bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return {{}, fail(path, QStringLiteral("cannot be read"))};
        if (n == 0)
            break;
        got += n;
    }
    if (got > kMaxKeyBytes)
        return {{}, fail(path, QStringLiteral("is too large to hold a key"))};
    bytes.truncate(got);
    while (bytes.endsWith('\n') || bytes.endsWith('\r'))
        bytes.chop(1);
    if (bytes.isEmpty())
        return {{}, fail(path, QStringLiteral("is empty"))};
    return {QString::fromUtf8(bytes), {}};
}

} // namespace tavolen::service
