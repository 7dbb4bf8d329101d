#include "transfer/DownloadQueue.h"

#include "QStringPrinter.h"
#include "xml/XmlDocument.h"

#include <gtest/gtest.h>

namespace {

// A folder "top" holding `depth` folders nested "d1", "d2", ..., each with one server file
// "n<level>.txt" after its subfolder.
QByteArray DeepFolder(int depth) {
    QByteArray text = "<FOLDER name=\"top\">";
    for (int level = 1; level <= depth; ++level)
        text += "<FOLDER name=\"d" + QByteArray::number(level) + "\">";
    for (int level = depth; level >= 1; --level)
        text += "</FOLDER><FILE name=\"n" + QByteArray::number(level) +
                ".txt\" transtype=\"server\" path=\"/n.txt\" size=\"3\"/>";
    return text + "</FOLDER>";
}

TEST(DownloadQueueTest, DeepFoldersQueueDepthFirstBelowTheirOwnFolders) {
    for (const int depth : {10000, 100000}) {
        XmlDocument document;
        ASSERT_EQ(document.parseBytes(DeepFolder(depth)), XmlDocument::ParseStatus::Parsed);
        DownloadJob job;
        job.settings.downloadFolder = "/t";
        QueueDownloadElements(job, {document.root()}, "_");
        // The folder rows top, d1 .. d<depth> first, then the files from the deepest up.
        ASSERT_EQ(job.rowCount(), 1 + 2 * depth);
        EXPECT_EQ(job.fileCount.load(), depth);
        EXPECT_EQ(job.bytesTotal.load(), 3LL * depth);
        for (int level = 1; level <= depth; ++level) {
            const DownloadRow& folder = job.row(level);
            ASSERT_TRUE(folder.isFolder);
            ASSERT_EQ(folder.name, "d" + QString::number(level));
            const DownloadRow& file = job.row(2 * depth + 1 - level);
            ASSERT_FALSE(file.isFolder);
            ASSERT_EQ(file.name, "n" + QString::number(level) + ".txt");
            // A file lies in the folder its row's folder row created.
            ASSERT_EQ(file.folder, job.row(level - 1).folder);
        }
        EXPECT_EQ(job.rowFolder(0), "/t/top");
        EXPECT_EQ(job.rowFolder(2), "/t/top/d1/d2");
        EXPECT_EQ(job.folderSteps(job.row(depth)).size(), depth + 1);
        EXPECT_EQ(job.folderSteps(job.row(depth)).last(), "d" + QString::number(depth));
        EXPECT_EQ(job.rowFolder(2 * depth), "/t/top");
        EXPECT_EQ(job.rowFolder(depth + 1), job.rowFolder(depth - 1));
    }
}

TEST(DownloadQueueTest, WideFoldersQueueEveryChildInOrderAndSkipNonServerEntries) {
    const int width = 40000;
    QByteArray text = "<R><FOLDER name=\"wide\">";
    for (int i = 0; i < width; ++i) {
        text += "<FILE name=\"f" + QByteArray::number(i) +
                ".bin\" transtype=\"server\" path=\"/w/f.bin\" size=\"2\"/>";
        if (i % 1000 == 0)
            text += "<FILE name=\"queued\" transtype=\"local\"/><!-- note -->text";
    }
    text += "<FOLDER name=\"last\"><FILE name=\"in.bin\" transtype=\"server\" path=\"/in\"/>";
    text += "</FOLDER></FOLDER><FILE name=\"loose.bin\" transtype=\"server\" path=\"/l\"/></R>";
    XmlDocument document;
    ASSERT_EQ(document.parseBytes(text), XmlDocument::ParseStatus::Parsed);
    const XmlNodeList chosen = document.root().selectAll("*");
    DownloadJob job;
    job.settings.downloadFolder = "/t";
    QueueDownloadElements(job, QList<XmlNode>(chosen.begin(), chosen.end()), "_");
    ASSERT_EQ(job.rowCount(), 1 + width + 2 + 1);
    EXPECT_EQ(job.fileCount.load(), width + 2);
    for (int i = 0; i < width; ++i) {
        ASSERT_EQ(job.row(1 + i).name, "f" + QString::number(i) + ".bin");
        ASSERT_EQ(job.row(1 + i).folder, job.row(0).folder);
    }
    EXPECT_EQ(job.rowFolder(1), "/t/wide");
    EXPECT_EQ(job.row(width + 1).name, "last");
    EXPECT_EQ(job.rowFolder(width + 2), "/t/wide/last");
    EXPECT_EQ(job.row(width + 3).name, "loose.bin");
    EXPECT_EQ(job.rowFolder(width + 3), "/t");
}

} // namespace
