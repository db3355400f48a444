// The contents list of the help pages, read from the help project's contents file (a sitemap:
// nested lists of entries, each with a name and a page).
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace app {

struct HelpTopic {
    QString name;  // as the list shows it
    QString page;  // relative to the contents file, e.g. "html/index.htm"
    int depth = 0; // 0 for the outermost list
    bool operator==(const HelpTopic&) const = default;
};

// The topics in reading order. Entries without a name are left out; markup the sitemap does
// not use is ignored, so a damaged file gives what can be read of it.
std::vector<HelpTopic> readHelpContents(const QByteArray& sitemap);

} // namespace app
