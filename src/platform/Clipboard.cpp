#include "Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace platform {

SystemClipboard::SystemClipboard(QObject* parent) : Clipboard(parent)
{
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &Clipboard::changed);
}

void SystemClipboard::setText(const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
}

QString SystemClipboard::text() const
{
    return QGuiApplication::clipboard()->text();
}

} // namespace platform
