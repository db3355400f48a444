// Whether the desktop has a viewer for a kind of document, as its MIME tool answers: a stand-in
// xdg-mime on the search path gives each answer the real tool can give.
#include "platform/Viewers.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class ViewersTest : public ::testing::Test {
protected:
    ViewersTest() : previousPath_(qgetenv("PATH")) { qputenv("PATH", dir_.path().toLocal8Bit()); }
    ~ViewersTest() override { qputenv("PATH", previousPath_); }

    // The stand-in prints output for the type application/x-chm and ends with status.
    void standIn(const QByteArray& output, int status = 0)
    {
        QFile tool(dir_.filePath("xdg-mime"));
        ASSERT_TRUE(tool.open(QIODevice::WriteOnly));
        tool.write("#!/bin/sh\n[ \"$1 $2 $3\" = \"query default application/x-chm\" ] && printf '" + output
                   + "'\nexit " + QByteArray::number(status) + "\n");
        tool.close();
        tool.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QTemporaryDir dir_;
    QByteArray previousPath_;
    platform::SystemViewers viewers;
};

TEST_F(ViewersTest, ADesktopEntryNamedAsDefaultIsAViewer)
{
    standIn("kchmviewer.desktop\\n");
    EXPECT_TRUE(viewers.hasViewerFor("application/x-chm"));
    EXPECT_FALSE(viewers.hasViewerFor("application/vnd.ms-htmlhelp"));
    EXPECT_TRUE(platform::hasViewerForAny(viewers, platform::kHelpFileTypes));
}

TEST_F(ViewersTest, NoAnswerAFailureOrNoToolMeansNoViewer)
{
    EXPECT_FALSE(viewers.hasViewerFor("application/x-chm")) << "without xdg-mime";
    standIn("");
    EXPECT_FALSE(viewers.hasViewerFor("application/x-chm"));
    standIn("kchmviewer.desktop\\n", 4);
    EXPECT_FALSE(viewers.hasViewerFor("application/x-chm")) << "a failing tool's answer was taken";
    standIn("xdg-mime: no method available\\n");
    EXPECT_FALSE(viewers.hasViewerFor("application/x-chm"));
}

} // namespace
