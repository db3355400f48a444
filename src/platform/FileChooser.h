// Asking the user for a file: one interface for every open and save question of the program,
// the toolkit's file dialog behind it, and a fake for tests.
#pragma once

#include <QImage>
#include <QString>
#include <deque>
#include <functional>
#include <vector>

class QWidget;

namespace platform {

struct FileQuestion {
    enum class Kind {
        Open,  // an existing file
        Save,  // any name; the program asks its own question before it replaces a file
    };
    FileQuestion(Kind kind, QWidget* owner, QString caption, QString filter)
        : kind(kind), owner(owner), caption(std::move(caption)), filter(std::move(filter))
    {
    }

    Kind kind;
    QWidget* owner;  // the window the question stands over
    QString caption;
    // e.g. "MZ文件 (*.mz)"; several separated by ";;", and several patterns of one entry by ";"
    // ("所有图像文件 (*.bmp;*.jpg;*.jpeg)"): the entry is shown as written.
    QString filter;
    QString startPath;  // a file or folder to start from; empty: where the last question ended
    // A picture of the highlighted file, previewSide pixels square beside the file list; none
    // when previewSide is 0. preview answers a null image for a file it cannot show.
    int previewSide = 0;
    std::function<QImage(const QString& path)> preview;
};

class FileChooser {
public:
    virtual ~FileChooser() = default;
    // The chosen file's path; empty when the user cancels.
    virtual QString choose(const FileQuestion& question) = 0;
};

// The toolkit's own file dialog (not the desktop's, so that a preview can stand beside it),
// modal over the question's owner.
class DialogFileChooser : public FileChooser {
public:
    QString choose(const FileQuestion& question) override;
};

// The name filters the toolkit's dialog is given for a question's filter: each entry as written,
// followed by its patterns separated by spaces, which is how the dialog reads them; the dialog
// hides that last bracket ("所有图像文件 (*.bmp;*.jpg;*.jpeg) (*.bmp *.jpg *.jpeg)").
QStringList dialogNameFilters(const QString& filter);

// The program's file dialog, shared by every window that asks.
FileChooser& dialogFileChooser();

// Gives the answers queued in answers, one per question, then empty ones (a cancel); records
// every question asked.
class FakeFileChooser : public FileChooser {
public:
    QString choose(const FileQuestion& question) override;

    std::deque<QString> answers;
    std::vector<FileQuestion> asked;
};

} // namespace platform
