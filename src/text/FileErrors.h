// What the user is told when a file cannot be read or written: what failed, the path, and the
// cause (the system's own reason where there is one). Each text is defined here once.
// A NUL in the path or the reason shows as the two characters \0, so no message is cut short.
#pragma once

#include <QString>
#include <stdexcept>

namespace textfile {

// A file that cannot be read or written; what() names the file and the reason.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

namespace reason {
inline const QString kIsAFolder = QStringLiteral("这是一个文件夹");
inline const QString kNotARegularFile = QStringLiteral("这不是普通文件（设备、管道或套接字），不能读写");
inline const QString kTooLarge = QStringLiteral("文件太大，程序无法全部读入");
inline const QString kOutOfMemory = QStringLiteral("内存不足，无法读入整个文件");
inline const QString kTooManyLinks = QStringLiteral("符号链接层次太多");
// The system's reason for errno: the cause in Chinese, the system's own words in brackets.
QString ofErrno(int error);
} // namespace reason

FileError readFailure(const QString& path, const QString& reason);
FileError writeFailure(const QString& path, const QString& reason);

} // namespace textfile
