#include "fixtures/scriptedprompter.h"
#include "fixtures/tempdir.h"
#include "widgets/fileselectdlg.h"
#include "widgets/lockedfiledialog.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFileSystemModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

const char* const SETTINGS_FILTER = "VXS files (*.vxs)\x01*.vxs\x01"
                                    "ALL files (*.*)\x01*.*\x01\x01";

CFileSelectDlg SaveDialog(const std::string& strFolder)
{
    return CFileSelectDlg(false, strFolder, "vx2200setting", CFileSelectDlg::FilterFromText(SETTINGS_FILTER),
                          ".vxs");
}

} // namespace

TEST(FileSelect, FilterEntriesAndTheDefaultExtensionComeFromTheCallersTexts)
{
    const CFileSelectDlg dlg = SaveDialog("/tmp/");
    EXPECT_EQ(dlg.GetFilters(), (std::vector<std::string> {"VXS files (*.vxs)", "ALL files (*.*)"}));
    EXPECT_EQ(dlg.GetDefaultExt(), "vxs");
    const std::string strBare = CFileSelectDlg::FilterFromText("Pictures\x01*.jpg\x01\x01");
    EXPECT_EQ(CFileSelectDlg(true, "", "", strBare, "..jpeg").GetFilters(),
              std::vector<std::string> {"Pictures (*.jpg)"});
    EXPECT_EQ(CFileSelectDlg(true, "", "", strBare, "..jpeg").GetDefaultExt(), "jpe");
    EXPECT_EQ(CFileSelectDlg(true, "", "", "", "").GetFilters(), std::vector<std::string> {"All Files (*)"});
}

TEST(FileSelect, SaveAsksBeforeReplacingAndNoAsksAgainWithTheSameFolderAndName)
{
    CTempDir dir;
    WriteAll(dir / "old.vxs", "x");
    CScriptedPrompter prompter;
    prompter.AnswerFile(dir / "old.vxs");
    prompter.Answer(IDNO);
    prompter.AnswerFile(dir / "old"); // the default extension makes it old.vxs again
    prompter.Answer(IDYES);
    CFileSelectDlg dlg = SaveDialog(dir.Path());
    ASSERT_EQ(dlg.DoModal(), 1);
    EXPECT_EQ(dlg.GetPathName(), dir / "old.vxs");
    const auto& asks = prompter.Asks();
    ASSERT_EQ(asks.size(), 4u);
    EXPECT_EQ(asks[0].file.strFolder, dir.Path());
    EXPECT_EQ(asks[0].file.strName, "vx2200setting");
    EXPECT_TRUE(asks[0].file.bSave);
    EXPECT_EQ(asks[1].strText, dir / "old.vxs" + " already exists.\nDo you want to replace it?");
    EXPECT_EQ(asks[1].strCaption, "Save as");
    EXPECT_EQ(asks[1].icon, MessageIcon::Warning);
    EXPECT_EQ(asks[2].file.strFolder, dir.Path());
    EXPECT_EQ(asks[2].file.strName, "old.vxs");

    prompter.Clear();
    prompter.AnswerFile(dir / "new.vxs");
    CFileSelectDlg fresh = SaveDialog(dir.Path());
    EXPECT_EQ(fresh.DoModal(), 1);
    EXPECT_EQ(prompter.Asks().size(), 1u); // nothing to replace
    prompter.Clear();
    CFileSelectDlg cancelled = SaveDialog(dir.Path());
    EXPECT_EQ(cancelled.DoModal(), 0);
}

TEST(FileSelect, OpenAsksAgainForANameThatIsNoFile)
{
    CTempDir dir;
    WriteAll(dir / "here.vxs", "x");
    CScriptedPrompter prompter;
    prompter.AnswerFile(dir / "missing.vxs");
    prompter.AnswerFile(dir.Path()); // a folder
    prompter.AnswerFile(dir / "here.vxs");
    CFileSelectDlg dlg(true, "", "", CFileSelectDlg::FilterFromText(SETTINGS_FILTER), "");
    ASSERT_EQ(dlg.DoModal(), 1);
    EXPECT_EQ(dlg.GetPathName(), dir / "here.vxs");
    ASSERT_EQ(prompter.Asks().size(), 3u);
    EXPECT_FALSE(prompter.Asks()[0].file.bSave);
    EXPECT_EQ(prompter.Asks()[1].file.strName, "missing.vxs");
}

// The dialog the operator sees: only choosing a file is possible.
TEST(LockedFileDialog, NoRenameDeleteCutPasteNewFolderDragOrContextMenu)
{
    CTempDir dir;
    WriteAll(dir / "keep.vxs", "x");
    CPrompter::FileRequest request;
    request.strFolder = dir.Path();
    request.filters = {"VXS files (*.vxs)"};
    CLockedFileDialog dlg(request);
    dlg.show();
    EXPECT_TRUE(dlg.testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_TRUE(dlg.testOption(QFileDialog::ReadOnly));
    EXPECT_EQ(dlg.fileMode(), QFileDialog::ExistingFile);
    auto* pModel = dlg.findChild<QFileSystemModel*>();
    ASSERT_NE(pModel, nullptr);
    EXPECT_TRUE(pModel->isReadOnly());
    if (auto* pNewFolder = dlg.findChild<QToolButton*>("newFolderButton")) {
        EXPECT_FALSE(pNewFolder->isVisible());
    }

    const QList<QAbstractItemView*> views = dlg.findChildren<QAbstractItemView*>();
    ASSERT_FALSE(views.isEmpty());
    for (QAbstractItemView* pView : views) {
        EXPECT_EQ(pView->editTriggers(), QAbstractItemView::NoEditTriggers) << pView->objectName().toStdString();
        EXPECT_FALSE(pView->dragEnabled());
        EXPECT_FALSE(pView->acceptDrops());
        EXPECT_FALSE(pView->viewport()->acceptDrops());
        EXPECT_EQ(pView->contextMenuPolicy(), Qt::NoContextMenu);
    }

    // The keys do nothing on the file list: the file stays, no editor opens.
    auto* pList = dlg.findChild<QAbstractItemView*>("listView");
    ASSERT_NE(pList, nullptr);
    QTest::qWait(200); // the model lists the folder
    const QModelIndex index = pModel->index(QString::fromStdString(dir / "keep.vxs"));
    ASSERT_TRUE(index.isValid());
    pList->setCurrentIndex(pList->model()->index(0, 0, pList->rootIndex())); // keep.vxs
    for (const auto& [key, modifiers] : {std::pair {Qt::Key_Delete, Qt::NoModifier}, std::pair {Qt::Key_F2, Qt::NoModifier},
                                         std::pair {Qt::Key_X, Qt::ControlModifier}, std::pair {Qt::Key_V, Qt::ControlModifier}}) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        EXPECT_TRUE(CLockedFileDialog::IsLockedKey(press));
        QApplication::sendEvent(pList, &press);
        EXPECT_TRUE(press.isAccepted());
    }
    EXPECT_EQ(ReadAll(dir / "keep.vxs"), "x");
    for (QLineEdit* pEditor : pList->findChildren<QLineEdit*>())
        EXPECT_FALSE(pEditor->isVisible()); // no name being edited in place
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(5, 5), pList->viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(pList->viewport(), &menu);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    QKeyEvent plain(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    EXPECT_FALSE(CLockedFileDialog::IsLockedKey(plain));
}
