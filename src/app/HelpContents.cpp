#include "HelpContents.h"

#include <QRegularExpression>
#include <QTextDocumentFragment>
#include <algorithm>

namespace app {

namespace {

// An attribute's value, character references decoded.
QString attribute(const QString& tag, const QString& name)
{
    const QRegularExpression pattern(name + QStringLiteral(R"re(\s*=\s*"([^"]*)")re"),
                                     QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(tag);
    return match.hasMatch() ? QTextDocumentFragment::fromHtml(match.captured(1)).toPlainText() : QString();
}

} // namespace

std::vector<HelpTopic> readHelpContents(const QByteArray& sitemap)
{
    static const QRegularExpression tags(QStringLiteral(R"(<\s*(/?)\s*(ul|object|param)\b([^>]*)>)"),
                                         QRegularExpression::CaseInsensitiveOption);
    std::vector<HelpTopic> topics;
    int depth = -1;
    bool inEntry = false;
    HelpTopic entry;
    for (const QRegularExpressionMatch& tag : tags.globalMatch(QString::fromUtf8(sitemap))) {
        const bool closing = !tag.captured(1).isEmpty();
        const QString kind = tag.captured(2).toLower();
        const QString attributes = tag.captured(3);
        if (kind == u"ul") {
            depth += closing ? -1 : 1;
        } else if (kind == u"object" && !closing) {
            inEntry = attribute(attributes, QStringLiteral("type")).compare(u"text/sitemap", Qt::CaseInsensitive) == 0;
            entry = HelpTopic{{}, {}, std::max(depth, 0)};
        } else if (kind == u"object" && inEntry) {
            inEntry = false;
            if (!entry.name.isEmpty())
                topics.push_back(entry);
        } else if (kind == u"param" && inEntry) {
            const QString name = attribute(attributes, QStringLiteral("name"));
            if (name.compare(u"Name", Qt::CaseInsensitive) == 0)
                entry.name = attribute(attributes, QStringLiteral("value"));
            else if (name.compare(u"Local", Qt::CaseInsensitive) == 0)
                entry.page = attribute(attributes, QStringLiteral("value"));
        }
    }
    return topics;
}

} // namespace app
