// The store engine's failures in the user's language: a Chinese sentence for the cause, with the
// engine's own code and words kept in brackets for whoever helps the user.
#pragma once

#include <QString>

namespace store {

// A sentence for an engine result code (primary or extended), e.g. "数据文件正被另一个程序使用".
QString engineCause(int resultCode);

// "cause（SQLite 错误 5：database is locked）". engineText is the engine's own message.
QString describeEngineError(int resultCode, const QString& engineText);

} // namespace store
