// The drawing follows the documented look: frame and client gradients, panel
// faces, the gauge's bar and the spinner's segments, read back from a picture
// of the window.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QImage>
#include <QTest>
#include <cstdlib>

#include "main_window_fixture.h"
#include "qt/caption_close_button.h"

namespace {

using LookTest = MainWindowFixture;

::testing::AssertionResult Near(const QImage& image, QPoint at, QColor want, int tolerance = 3) {
  const QColor got = image.pixelColor(at);
  if (std::abs(got.red() - want.red()) <= tolerance &&
      std::abs(got.green() - want.green()) <= tolerance &&
      std::abs(got.blue() - want.blue()) <= tolerance) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "at " << at.x() << "," << at.y() << ": " << got.name().toStdString() << " instead of "
         << want.name().toStdString();
}

// A point of the client area in window coordinates.
QPoint Client(int x, int y) {
  return QPoint(2 + x, 24 + y);
}

TEST_F(LookTest, FrameAndClientAreaAreMirroredGradients) {
  const QImage image = view.root()->grab().toImage();
  // The caption bar is lightest in its middle and darkest at its edges.
  EXPECT_TRUE(Near(image, QPoint(300, 12), QColor(75, 122, 191), 6));
  EXPECT_TRUE(Near(image, QPoint(300, 2), QColor(31, 75, 142), 12));
  EXPECT_TRUE(Near(image, QPoint(300, 22), QColor(31, 75, 142), 12));
  // The client area likewise, lightest halfway down.
  EXPECT_TRUE(Near(image, Client(480, 151), QColor(233, 239, 249)));
  EXPECT_TRUE(Near(image, Client(480, 1), QColor(210, 223, 244)));
  EXPECT_TRUE(Near(image, Client(480, 300), QColor(210, 223, 244)));
}

TEST_F(LookTest, PanelsShowTheirFaces) {
  form.ShowOfflineForm("", "", "");
  view.sync();
  QImage image = view.root()->grab().toImage();
  EXPECT_TRUE(Near(image, Client(30, 168 + 60), QColor(255, 0, 0), 0));
  form.Panel_communication_offline.visible = false;
  form.Panel_ready_for_download.visible = true;
  view.sync();
  image = view.root()->grab().toImage();
  // Blue at the top edge to navy at the bottom.
  EXPECT_TRUE(Near(image, Client(30, 170), QColor(0, 0, 253), 6));
  EXPECT_TRUE(Near(image, Client(30, 278), QColor(0, 0, 130), 6));
}

TEST_F(LookTest, GaugeFillsItsShareInYellow) {
  form.GroupBox_gauge_up_down_loading.visible = true;
  form.Gauge_up_down_loading.max_value = 200;
  form.Gauge_up_down_loading.progress = 50;
  view.sync();
  const QImage image = view.root()->grab().toImage();
  // The gauge's inside runs 233 px from x 107+9+1; a quarter of it is the bar.
  const int top = 168 + 30 + 5 + 3;
  EXPECT_TRUE(Near(image, Client(107 + 10 + 20, top), QColor(255, 255, 0), 0));
  EXPECT_TRUE(Near(image, Client(107 + 10 + 56, top), QColor(255, 255, 0), 0));
  EXPECT_TRUE(Near(image, Client(107 + 10 + 62, top), QColor(192, 192, 192), 0));
  EXPECT_TRUE(Near(image, Client(107 + 10 + 220, top), QColor(192, 192, 192), 0));
}

// At half way the percentage straddles the bar's end: its digits are silver
// over the yellow bar and yellow over the silver rest, readable on both.
TEST_F(LookTest, GaugePercentTakesTheColourOpposite) {
  form.GroupBox_gauge_up_down_loading.visible = true;
  form.Gauge_up_down_loading.max_value = 100;
  form.Gauge_up_down_loading.progress = 50;
  view.sync();
  const QImage image = view.widget_of(form.Gauge_up_down_loading)->grab().toImage();
  const int bar_end = 1 + (image.width() - 2) / 2;
  const auto count = [&](int from_x, int to_x, QColor colour) {
    int n = 0;
    for (int x = from_x; x < to_x; ++x) {
      for (int y = 2; y < image.height() - 2; ++y) n += image.pixelColor(x, y) == colour;
    }
    return n;
  };
  const QColor yellow(255, 255, 0), silver(192, 192, 192);
  EXPECT_GT(count(bar_end - 25, bar_end, silver), 10) << "digits over the bar";
  EXPECT_GT(count(bar_end, bar_end + 25, yellow), 10) << "digits over the rest";
}

TEST_F(LookTest, SpinnerTurnsWhileShownAndStopsWhenHidden) {
  form.ShowBusy(true);
  view.sync();
  const int before = form.AdvCircularProgress1.step;
  QTest::qWait(350);
  const int turned = (form.AdvCircularProgress1.step - before + 12) % 12;
  EXPECT_GE(turned, 2);
  EXPECT_LE(turned, 5);
  // The segment at twelve o'clock is the active one at step 0.
  form.AdvCircularProgress1.step = 0;
  const QImage image = view.widget_of(form.AdvCircularProgress1)->grab().toImage();
  EXPECT_TRUE(Near(image, QPoint(30, 3), QColor(159, 159, 255), 10));
  form.ShowBusy(false);
  view.sync();
  const int stopped_at = form.AdvCircularProgress1.step;
  QTest::qWait(250);
  EXPECT_EQ(form.AdvCircularProgress1.step, stopped_at);
}

TEST_F(LookTest, CaptionBarDragsTheWindowAndCloses) {
  QTest::mousePress(view.root(), Qt::LeftButton, {}, QPoint(100, 10));
  QTest::mouseMove(view.root(), QPoint(150, 30));
  QTest::mouseRelease(view.root(), Qt::LeftButton, {}, QPoint(150, 30));
  EXPECT_EQ(form.left, 50);
  EXPECT_EQ(form.top, 20);
  EXPECT_EQ(view.root()->pos(), QPoint(50, 20));
  // A press in the client area moves nothing.
  QTest::mousePress(view.root(), Qt::LeftButton, {}, QPoint(590, 300));
  QTest::mouseMove(view.root(), QPoint(595, 310));
  QTest::mouseRelease(view.root(), Qt::LeftButton, {}, QPoint(595, 310));
  EXPECT_EQ(form.left, 50);

  auto* close = view.root()->findChild<qtui::CaptionCloseButton*>();
  ASSERT_NE(close, nullptr);
  EXPECT_LT(close->geometry().bottom(), 24);
  EXPECT_GT(close->geometry().left(), 560);
  QTest::mouseClick(close, Qt::LeftButton);
  EXPECT_FALSE(view.root()->isVisible());
}

}  // namespace
