#include "dialogs/frmSelectBitmapSet.h"
#include "main/frmMain.h"
#include "tests/dialogs/WindowTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using namespace testsupport;
using namespace windowtest;

namespace {

frmMain& MainWindow() {
    if (!frmMain::IsLoaded()) {
        MakeSet("Mine", {"m.bmp"});
        WriteProgramFile("Curset.ini", "Mine\r\n");
    }
    frmMain& main = frmMain::Instance();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&main));
    return main;
}

// Opens the chooser as the user does and waits until it is up and has the focus.
frmSelectBitmapSet& OpenChooser() {
    frmMain& main = MainWindow();
    QTest::mouseClick(main.lblButtons[2], Qt::LeftButton, {}, main.lblButtons[2]->rect().center());
    EXPECT_TRUE(frmSelectBitmapSet::IsLoaded());
    frmSelectBitmapSet& chooser = frmSelectBitmapSet::Instance();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&chooser));
    return chooser;
}

QStringList Entries(const frmSelectBitmapSet& chooser) {
    QStringList entries;
    for (int i = 0; i < chooser.List1->ListCount(); ++i)
        entries << QString::fromStdString(chooser.List1->List(i));
    return entries;
}

void Choose(frmSelectBitmapSet& chooser, int row) {
    QListWidget* list = chooser.List1;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
}

void Press(platform::CommandButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

// The names of the program folder's current-set files, whatever their case.
QStringList CursetFiles() {
    QStringList found;
    for (const QString& name : QDir(ProgramFolder()).entryList(QDir::Files))
        if (name.compare("curset.ini", Qt::CaseInsensitive) == 0)
            found << name;
    return found;
}

std::string Curset() {
    const QStringList files = CursetFiles();
    return files.isEmpty() ? std::string() : ReadFileBytes(ProgramFolder() + files.front());
}

void StartFrom(const char* cursetName, const char* bytes) {
    for (const QString& file : CursetFiles())
        QFile::remove(ProgramFolder() + file);
    WriteProgramFile(cursetName, bytes);
}

} // namespace

// The list is the file's fields in the file's order, with nothing chosen.
TEST(Chooser, ListsTheFieldsOfBitmapsetsIni) {
    struct Case {
        const char* what;
        const char* bytes; // null: no file
        QStringList entries;
    };
    const std::vector<Case> cases = {
        {"no file", nullptr, {}},
        {"empty file", "", {}},
        {"an empty line", "A\r\n\r\nB\r\n", {"A", "", "B"}},
        {"unsorted, duplicates kept", "Zed\r\nAlpha\r\nZed\r\n", {"Zed", "Alpha", "Zed"}},
        {"a comma splits", "One, Two\r\n", {"One", "Two"}},
        {"quotes hold a comma", "\"Quoted, name\"\r\n", {"Quoted, name"}},
        {"no line end at the end", "Last", {"Last"}},
    };
    MainWindow();
    StartFrom("Curset.ini", "Mine\r\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteProgramFile("bitmapsets.ini", c.bytes);
        MessageBoxWatch boxes;
        frmSelectBitmapSet& chooser = OpenChooser();
        EXPECT_EQ(Entries(chooser), c.entries);
        EXPECT_EQ(chooser.List1->ListIndex(), -1) << "nothing chosen, the current set included";
        EXPECT_EQ(chooser.lblCurSet->Caption(), "Current Bitmap Set: Mine");
        EXPECT_TRUE(boxes.Texts().isEmpty());
        EXPECT_FALSE(chooser.isModal()) << "the main window stays usable";
        Press(chooser.Command2);
        EXPECT_FALSE(frmSelectBitmapSet::IsLoaded());
    }
    EXPECT_EQ(Curset(), "Mine\r\n");
}

TEST(Chooser, CancelAndTheCloseBoxChangeNothing) {
    frmMain& main = MainWindow();
    WriteProgramFile("bitmapsets.ini", "Mine\r\nOther\r\n");
    StartFrom("Curset.ini", "Mine\r\n");
    clsCorvantis* engine = main.Corvantis.get();
    for (bool closeBox : {false, true}) {
        frmSelectBitmapSet& chooser = OpenChooser();
        Choose(chooser, 1);
        ASSERT_EQ(chooser.List1->ListIndex(), 1);
        if (closeBox)
            chooser.close();
        else
            Press(chooser.Command2);
        EXPECT_FALSE(frmSelectBitmapSet::IsLoaded());
        EXPECT_EQ(Curset(), "Mine\r\n");
        EXPECT_EQ(main.Corvantis.get(), engine) << "no new start-up";
    }
}

// A set of two bitmaps lands in a new engine as indexes 0 and 1, in the file list's order.
TEST(Chooser, SetSelectedSavesTheNameAndLoadsTheSet) {
    frmMain& main = MainWindow();
    MakeSet("Pair", {"b.bmp", "A.BMP"});
    WriteProgramFile("bitmapsets.ini", "Mine\r\nPair\r\n");
    StartFrom("Curset.ini", "Mine\r\n");
    const clsCorvantis* before = main.Corvantis.get();
    frmSelectBitmapSet& chooser = OpenChooser();
    Choose(chooser, 1);
    Press(chooser.Command1);

    EXPECT_EQ(Curset(), "Pair\r\n");
    EXPECT_NE(main.Corvantis.get(), before);
    const std::string set = main.Corvantis->GetPath() + "Pair/";
    ASSERT_EQ(main.Corvantis->GetBitmapCount(), 1);
    EXPECT_EQ(main.Corvantis->GetBitmapPath(0), set + "A.BMP");
    EXPECT_EQ(main.Corvantis->GetBitmapPath(1), set + "b.bmp");
    EXPECT_EQ(main.BitmapSet, "Pair");
    EXPECT_EQ(Lines(main.txtConsole->Text()).last(), "Bitmap set: Pair");
    EXPECT_TRUE(Eventually([] { return !frmSelectBitmapSet::IsLoaded(); }));
}

TEST(Chooser, SetSelectedWithNothingChosenWritesAnEmptyLine) {
    frmMain& main = MainWindow();
    WriteProgramFile("bitmapsets.ini", nullptr);
    StartFrom("Curset.ini", "Mine\r\n");
    frmSelectBitmapSet& chooser = OpenChooser();
    Press(chooser.Command1);
    EXPECT_EQ(Curset(), "\r\n");
    EXPECT_EQ(Lines(main.txtConsole->Text()).last(), "Bitmap set: ");
    EXPECT_EQ(main.Corvantis->GetBitmapCount(), -1) << "the program folder holds no bitmap";
}

// The file keeps the name it has, whatever its case; a new one gets the chooser's name.
TEST(Chooser, SetSelectedReplacesTheFileUnderItsOwnName) {
    MainWindow();
    MakeSet("Pair", {"b.bmp", "A.BMP"});
    WriteProgramFile("bitmapsets.ini", "Pair\r\n");
    struct Case {
        const char* existing; // null: no file yet
        const char* after;
    };
    for (const Case& c : {Case{"Curset.ini", "Curset.ini"}, Case{"CURSET.INI", "CURSET.INI"},
                          Case{nullptr, "curset.ini"}}) {
        SCOPED_TRACE(c.after);
        for (const QString& file : CursetFiles())
            QFile::remove(ProgramFolder() + file);
        if (c.existing)
            WriteProgramFile(c.existing, "Mine\r\n");
        frmSelectBitmapSet& chooser = OpenChooser();
        Choose(chooser, 0);
        Press(chooser.Command1);
        EXPECT_EQ(CursetFiles(), QStringList{c.after});
        EXPECT_EQ(Curset(), "Pair\r\n");
    }
    const QStringList leftovers =
        QDir(ProgramFolder()).entryList({"*.ini.*", "*.ini~"}, QDir::Files | QDir::Hidden);
    EXPECT_TRUE(leftovers.isEmpty()) << leftovers.join(" ").toStdString();
}

// A write that fails (here: no room for a single byte) leaves the old name whole, says so,
// and runs no start-up; the chooser stays open for another try.
TEST(Chooser, FailedWriteKeepsTheOldSetAndSaysSo) {
    frmMain& main = MainWindow();
    MakeSet("Pair", {"b.bmp", "A.BMP"});
    WriteProgramFile("bitmapsets.ini", "Pair\r\n");
    StartFrom("Curset.ini", "Mine\r\n");
    const clsCorvantis* before = main.Corvantis.get();
    const std::string console = main.txtConsole->Text();
    frmSelectBitmapSet& chooser = OpenChooser();
    Choose(chooser, 0);

    MessageBoxWatch boxes;
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    const rlimit none{0, previous.rlim_max};
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &none);
    Press(chooser.Command1);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    ASSERT_EQ(boxes.Texts().size(), 1);
    EXPECT_TRUE(boxes.Texts()[0].contains("curset.ini")) << boxes.Texts()[0].toStdString();
    EXPECT_TRUE(boxes.Texts()[0].contains("unchanged")) << boxes.Texts()[0].toStdString();
    EXPECT_EQ(CursetFiles(), QStringList{"Curset.ini"});
    EXPECT_EQ(Curset(), "Mine\r\n");
    EXPECT_EQ(main.Corvantis.get(), before);
    EXPECT_EQ(main.txtConsole->Text(), console);
    EXPECT_EQ(QDir(ProgramFolder()).entryList({"*.ini.*"}, QDir::Files | QDir::Hidden),
              QStringList{});
    ASSERT_TRUE(frmSelectBitmapSet::IsLoaded());

    Press(chooser.Command1);
    EXPECT_EQ(Curset(), "Pair\r\n") << "the next try goes through";
}

// A name without its folder loads nothing and says so; the user picks another set.
TEST(Chooser, MissingSetFolderRoundTrip) {
    frmMain& main = MainWindow();
    MakeSet("Pair", {"b.bmp", "A.BMP"});
    WriteProgramFile("bitmapsets.ini", "Gone\r\nPair\r\n");
    StartFrom("Curset.ini", "Mine\r\n");

    frmSelectBitmapSet& first = OpenChooser();
    Choose(first, 0);
    Press(first.Command1);
    EXPECT_EQ(Curset(), "Gone\r\n");
    EXPECT_EQ(main.Corvantis->GetBitmapCount(), -1);
    EXPECT_EQ(Lines(main.txtConsole->Text()).last(),
              "Bitmap set folder \"Gone\" not found in the program folder. No bitmaps loaded.");
    EXPECT_TRUE(main.isVisible());
    ASSERT_TRUE(Eventually([] { return !frmSelectBitmapSet::IsLoaded(); }));

    frmSelectBitmapSet& second = OpenChooser();
    EXPECT_EQ(second.lblCurSet->Caption(), "Current Bitmap Set: Gone");
    Choose(second, 1);
    Press(second.Command1);
    EXPECT_EQ(Curset(), "Pair\r\n");
    EXPECT_EQ(main.Corvantis->GetBitmapCount(), 1);
    EXPECT_EQ(Lines(main.txtConsole->Text()).last(), "Bitmap set: Pair");
}
