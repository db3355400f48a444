// Writes the seed corpus of the exchange file fuzzer into the given folder: files as the program
// writes them (GB18030, CR LF) and the odd cases the reader must survive.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QPair>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    const QByteArray stamp = "2008-03-15 10:05:09\r\n";
    const QList<QPair<QString, QByteArray>> seeds = {
        {"example", stamp + "~0~1~\xBB\xE1\xD2\xE9\r\n\xD6\xDC\xD2\xBB\r\n\r\n~0~1~\xC5\xA3\r\n\xC5\xA3\xC4\xCC\r\n"},
        {"utf8-like", stamp + "~0~1~\xD1\xA7\xD0\xA3\r\n\xD2\xBB\r\n~0~1~\xD2\xBD\xD4\xBA\r\nx\r\n"},
        {"byte-order-mark", "\xEF\xBB\xBF" + stamp + "~0~1~\xE4\xB8\xAD\r\n\xE6\x96\x87\r\n"},
        {"cases", stamp + "~0~1~T\r\na\r\n~0~1~t\r\nb\r\n~0~1~T\r\nc\r\n"},
        {"nul", stamp + QByteArray("~0~1~a\0x\r\n1\r\n~0~1~a\0y\r\n2\r\n", 28)},
        {"malformed-titles", stamp + "~0~1~A\x81\r\none\r\n~0~1~A\x82\r\ntwo\r\n"},
        {"cut-utf8-titles", "\xEF\xBB\xBF" + stamp + "~0~1~\xE4\xB8\r\na\r\n~0~1~\xE6\x96\r\nb\r\n"},
        {"line-ends", stamp + "~0~1~\rlone\ncr\r\n~0~1~~0~1~\r\n\x81\r\n\xFF\x84\x31\xA4\x37"},
    };
    for (const auto& [name, bytes] : seeds) {
        QFile file(folder + u'/' + name);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return 1;
    }
    return 0;
}
