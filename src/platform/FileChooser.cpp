#include "FileChooser.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QRegularExpression>

namespace platform {

namespace {
// A label beside the dialog's file list that shows the highlighted file's picture.
void addPreview(QFileDialog& dialog, const FileQuestion& question)
{
    auto* preview = new QLabel(&dialog);
    preview->setFixedSize(question.previewSide, question.previewSide);
    preview->setAlignment(Qt::AlignCenter);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(preview, 1, grid->columnCount(), 1, 1);
    QObject::connect(&dialog, &QFileDialog::currentChanged, preview,
                     [preview, show = question.preview](const QString& path) {
                         const QImage picture = show(path);
                         if (picture.isNull())
                             preview->clear();
                         else
                             preview->setPixmap(QPixmap::fromImage(picture));
                     });
}
} // namespace

QStringList dialogNameFilters(const QString& filter)
{
    static const QRegularExpression patterns(QStringLiteral(R"(\(([^()]*)\)\s*$)"));
    QStringList filters;
    for (const QString& entry : filter.split(QStringLiteral(";;"), Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch match = patterns.match(entry);
        filters << (match.hasMatch()
                        ? entry + QStringLiteral(" (%1)").arg(match.captured(1).split(u';').join(u' '))
                        : entry);
    }
    return filters;
}

QString DialogFileChooser::choose(const FileQuestion& question)
{
    QFileDialog dialog(question.owner, question.caption, question.startPath);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(dialogNameFilters(question.filter));
    if (question.kind == FileQuestion::Kind::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (question.previewSide > 0 && question.preview)
        addPreview(dialog, question);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

FileChooser& dialogFileChooser()
{
    static DialogFileChooser chooser;
    return chooser;
}

QString FakeFileChooser::choose(const FileQuestion& question)
{
    asked.push_back(question);
    if (answers.empty())
        return {};
    QString answer = answers.front();
    answers.pop_front();
    return answer;
}

} // namespace platform
