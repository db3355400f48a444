// The album's pictures pass through memory on their way to and from the image codecs: a
// QBuffer over a byte array, opened with its result checked.
#pragma once

#include <QBuffer>
#include <stdexcept>

namespace album {

// Opens buffer in mode. A buffer over memory refuses only when it is open already; that is a
// fault of the caller and throws instead of leaving the codec to read or write nothing.
inline void openInMemory(QBuffer& buffer, QIODevice::OpenMode mode)
{
    if (!buffer.open(mode))
        throw std::logic_error("内存中的图片缓冲区无法打开：" + buffer.errorString().toStdString());
}

} // namespace album
