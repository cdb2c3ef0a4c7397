// Real modal dialogs: the texts and buttons the user sees, the answers given
// back, the file dialog's filters and folder, and a form shown modally.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/opening_screen.h"
#include "qt/convert.h"
#include "qt/qt_dialogs.h"

namespace {

// Acts on the next modal dialog of type D once it is up, from inside its own loop.
template <class D>
void WhenModalUp(std::function<void(D*)> act) {
  auto* poll = new QTimer;
  poll->setInterval(10);
  QObject::connect(poll, &QTimer::timeout, [poll, act] {
    auto* d = qobject_cast<D*>(QApplication::activeModalWidget());
    if (d == nullptr || !d->isVisible()) return;
    poll->stop();
    poll->deleteLater();
    act(d);
  });
  poll->start();
}

TEST(QtDialogsTest, MessageBoxesShowTheirKindTextAndButtons) {
  const struct {
    ui::BoxKind kind;
    const char* text;
    QMessageBox::Icon icon;
    QString title;
    QString shown;
  } cases[] = {
      {ui::BoxKind::plain, "Write Error File: com.ini", QMessageBox::NoIcon,
       "ZEK Firmware downloader", "Write Error File: com.ini"},
      {ui::BoxKind::error, "Can't find com.ini file", QMessageBox::Critical, "Error",
       "Can't find com.ini file"},
      {ui::BoxKind::warning, "Do not edit\r\nuse pulldown menu !!!", QMessageBox::Warning,
       "Warning", "Do not edit\nuse pulldown menu !!!"},
      {ui::BoxKind::plain, "firmware download has failed !!!\r\r\nPlease try again",
       QMessageBox::NoIcon, "ZEK Firmware downloader",
       "firmware download has failed !!!\nPlease try again"},
      {ui::BoxKind::error, "<b>not markup</b>", QMessageBox::Critical, "Error",
       "<b>not markup</b>"},
  };
  qtui::QtDialogs dialogs;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    QMessageBox::Icon icon{};
    QString title, text;
    int buttons = 0;
    WhenModalUp<QMessageBox>([&](QMessageBox* box) {
      icon = box->icon();
      title = box->windowTitle();
      text = box->text();
      buttons = static_cast<int>(box->buttons().size());
      box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(dialogs.message(c.kind, c.text), ui::Answer::ok);
    EXPECT_EQ(icon, c.icon);
    EXPECT_EQ(title, c.title);
    EXPECT_EQ(text, c.shown);
    EXPECT_EQ(buttons, 1);
  }
}

TEST(QtDialogsTest, QuestionsAnswerWithTheButtonPressed) {
  qtui::QtDialogs dialogs;
  for (auto [pressed, answer] :
       {std::pair{QMessageBox::Yes, ui::Answer::yes}, std::pair{QMessageBox::No, ui::Answer::no}}) {
    QString text;
    WhenModalUp<QMessageBox>([&, pressed = pressed](QMessageBox* box) {
      text = box->text();
      box->button(pressed)->click();
    });
    EXPECT_EQ(dialogs.message(ui::BoxKind::question, "Do you want to create a default file"),
              answer);
    EXPECT_EQ(text, "Do you want to create a default file");
  }
}

TEST(QtDialogsTest, EscapeOnAQuestionIsNo) {
  qtui::QtDialogs dialogs;
  WhenModalUp<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
  EXPECT_EQ(dialogs.message(ui::BoxKind::question, "?"), ui::Answer::no);
}

TEST(QtDialogsTest, NameFiltersListTheirPatternsSpaceSeparated) {
  const struct {
    ui::FileFilter filter;
    QString expected;
  } cases[] = {
      {{"All ZEK Firmware downloads",
        "*.fm0; *.fm1; *.fd0; *.fd1;*.ff0;  *.ff1;*.fi0; *.fi1;*.fl0;*.fe1"},
       "All ZEK Firmware downloads (*.fm0 *.fm1 *.fd0 *.fd1 *.ff0 *.ff1 *.fi0 *.fi1 *.fl0 *.fe1)"},
      {{"Firmware Motormanagement (*.fm0)", "*.fm0"}, "Firmware Motormanagement (*.fm0) (*.fm0)"},
      {{"Trailing", "*.a;"}, "Trailing (*.a)"},
  };
  for (const auto& c : cases) EXPECT_EQ(qtui::NameFilter(c.filter), c.expected);
}

TEST(QtDialogsTest, OpenFileStartsInTheFolderWithTheFirstFilterAndReturnsThePick) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString file = folder.filePath("unit.fm0");
  {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
  const std::vector<ui::FileFilter> filters{{"Images (*.fm0)", "*.fm0"}, {"Scripts", "*.fm1"}};
  qtui::QtDialogs dialogs;
  QString shown_folder, selected;
  QStringList offered;
  WhenModalUp<QFileDialog>([&](QFileDialog* d) {
    shown_folder = d->directory().absolutePath();
    selected = d->selectedNameFilter();
    offered = d->nameFilters();
    d->selectFile(file);
    QMetaObject::invokeMethod(d, "accept", Qt::DirectConnection);
  });
  const auto picked = dialogs.open_file(filters, QFile::encodeName(folder.path()).toStdString());
  EXPECT_EQ(shown_folder, QDir(folder.path()).absolutePath());
  EXPECT_EQ(offered, (QStringList{"Images (*.fm0) (*.fm0)", "Scripts (*.fm1)"}));
  EXPECT_EQ(selected, offered.value(0));
  ASSERT_TRUE(picked.has_value());
  EXPECT_EQ(QFile::decodeName(picked->c_str()), file);
}

TEST(QtDialogsTest, CancelledFileDialogGivesNothing) {
  qtui::QtDialogs dialogs;
  WhenModalUp<QFileDialog>([](QFileDialog* d) { d->reject(); });
  EXPECT_FALSE(dialogs.open_file({{"Any", "*"}}, QDir::tempPath().toStdString()).has_value());
}

TEST(QtDialogsTest, OpeningScreenClosesWithOkByEnterEscapeOrClick) {
  const std::function<void(QDialog*)> presses[] = {
      [](QDialog* d) { QTest::keyClick(d, Qt::Key_Return); },
      [](QDialog* d) { QTest::keyClick(d, Qt::Key_Escape); },
      [](QDialog* d) {
        auto* ok = d->findChild<QAbstractButton*>("OKBtn");
        ASSERT_NE(ok, nullptr);
        QTest::mouseClick(ok, Qt::LeftButton);
      },
  };
  qtui::QtDialogs dialogs;
  for (const auto& press : presses) {
    TOKBottomDlg_openingsscherm screen;
    QSize size;
    WhenModalUp<QDialog>([&](QDialog* d) {
      size = d->size();
      press(d);
    });
    dialogs.show_modal(screen);
    EXPECT_EQ(screen.modal_result, ui::ModalResult::ok);
    EXPECT_EQ(size, QSize(617, 367));
    EXPECT_FALSE(screen.visible);
  }
}

TEST(QtDialogsTest, OtherKeysLeaveTheOpeningScreenUp) {
  qtui::QtDialogs dialogs;
  TOKBottomDlg_openingsscherm screen;
  bool still_up = false;
  WhenModalUp<QDialog>([&](QDialog* d) {
    QTest::keyClick(d, Qt::Key_A);
    QTest::keyClick(d, Qt::Key_Space, Qt::AltModifier);
    still_up = d->isVisible() && screen.modal_result == ui::ModalResult::none;
    QTest::keyClick(d, Qt::Key_Enter);
  });
  dialogs.show_modal(screen);
  EXPECT_TRUE(still_up);
  EXPECT_EQ(screen.modal_result, ui::ModalResult::ok);
}

// The opening screen is the only window while it is up; closing it must not
// count as closing the program's last window.
TEST(QtDialogsTest, ClosingTheOpeningScreenDoesNotEndTheProgram) {
  qtui::QtDialogs dialogs;
  TOKBottomDlg_openingsscherm screen;
  WhenModalUp<QDialog>([](QDialog* d) { QTest::keyClick(d, Qt::Key_Return); });
  dialogs.show_modal(screen);
  QWidget main_window;
  main_window.show();
  QTimer::singleShot(200, [] { QCoreApplication::exit(7); });
  EXPECT_EQ(QApplication::exec(), 7);
}

TEST(BoxTextTest, LineBreaksOfEveryKindBecomeOne) {
  const std::pair<const char*, const char*> cases[] = {
      {"a\r\nb", "a\nb"}, {"a\r\r\nb", "a\nb"},     {"a\rb", "a\nb"},
      {"a\nb", "a\nb"},   {"a\r\n\r\nb", "a\n\nb"}, {"", ""}};
  for (const auto& [in, out] : cases) EXPECT_EQ(qtui::BoxText(in), QString(out)) << in;
}

}  // namespace
