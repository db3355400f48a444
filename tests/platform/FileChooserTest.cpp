// The toolkit's file dialog as the program sets it up: filters shown as the program writes them,
// each entry still matching every one of its patterns.
#include "platform/FileChooser.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QString kPictures = QStringLiteral("所有图像文件 (*.bmp;*.jpg;*.jpeg);;位图图像 (*.bmp)");

TEST(FileChooser, EachFilterEntryGainsItsPatternsAsTheDialogReadsThem)
{
    EXPECT_EQ(platform::dialogNameFilters(kPictures),
              (QStringList{"所有图像文件 (*.bmp;*.jpg;*.jpeg) (*.bmp *.jpg *.jpeg)", "位图图像 (*.bmp) (*.bmp)"}));
    EXPECT_EQ(platform::dialogNameFilters(QStringLiteral("MZ文件 (*.mz)")), QStringList{"MZ文件 (*.mz) (*.mz)"});
    EXPECT_EQ(platform::dialogNameFilters(QString()), QStringList());
}

// The enabled files the dialog lists in its folder, once the folder is read.
QStringList listedFiles(QFileDialog& dialog, const QString& folder)
{
    auto* model = dialog.findChild<QFileSystemModel*>();
    if (!model)
        return {};
    const QModelIndex root = model->index(folder);
    if (!QTest::qWaitFor([&] { return model->rowCount(root) > 0; }, 5000))
        return {};
    QStringList names;
    for (int row = 0; row < model->rowCount(root); ++row) {
        const QModelIndex file = model->index(row, 0, root);
        if (model->flags(file) & Qt::ItemIsEnabled)
            names << file.data().toString();
    }
    names.sort();
    return names;
}

TEST(FileChooser, TheDialogShowsTheFilterAsWrittenAndMatchesEveryPattern)
{
    QTemporaryDir folder;
    for (const char* name : {"a.bmp", "b.jpg", "c.jpeg", "d.txt"}) {
        QFile file(folder.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    platform::FileQuestion question(platform::FileQuestion::Kind::Open, nullptr, QStringLiteral("打开"),
                                    kPictures);
    question.startPath = folder.path();
    QStringList shownFilters, listed;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        for (int i = 0; types && i < types->count(); ++i)
            shownFilters << types->itemText(i);
        listed = listedFiles(*dialog, folder.path());
        dialog->reject();
    });
    EXPECT_EQ(platform::DialogFileChooser().choose(question), QString());
    EXPECT_EQ(shownFilters, (QStringList{"所有图像文件 (*.bmp;*.jpg;*.jpeg)", "位图图像 (*.bmp)"}));
    EXPECT_EQ(listed, (QStringList{"a.bmp", "b.jpg", "c.jpeg"}));
}

} // namespace
