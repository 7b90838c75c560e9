// The frame list as a timeline: many frames at once, copies, dragging,
// deleting the selection, display times, and undo and redo of each of them;
// then the times as the written GIF and WebP play them.
#include "framelist/frame_timeline.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <QUndoStack>
#include <webp/demux.h>

#include "framelist/frame_commands.h"
#include "framelist/frame_save.h"
#include "gif_reader.h"
#include "output_test_support.h"
#include "play/animation_plan.h"
#include "save/animation_question.h"

namespace {

using framelist::FrameList;
using framelist::FrameState;

// Frames of one size told apart by their colour, named by a letter.
struct Frames {
  std::vector<core::Picture> pictures;
  explicit Frames(int count) {
    for (int i = 0; i < count; ++i)
      pictures.push_back(core::Picture::fromBitmap(core::Bitmap(8, 4, core::rgb(30 * i, 90, 200))));
  }
  // The list top to bottom: a letter per frame ('A' = pictures[0]), a time
  // after it when it has one, '*' for a selected frame, '^' for the current.
  std::string of(const FrameList& list) const {
    std::string out;
    for (int i = 0; i <= list.highestIndex() && !list.isEmpty(); ++i) {
      const framelist::StockEntry& e = list.entry(i);
      for (std::size_t k = 0; k < pictures.size(); ++k)
        if (pictures[k].handle() == e.picture.handle()) out += static_cast<char>('A' + k);
      if (e.delayCs > 0) out += std::to_string(e.delayCs);
      if (e.selected) out += '*';
      if (i == list.selected()) out += '^';
      out += ' ';
    }
    return out;
  }
};

TEST(FrameTimeline, EditsKeepOrderSelectionAndTimes) {
  Frames f(5);
  FrameList list;
  EXPECT_FALSE(framelist::addFrames(list, {}));
  ASSERT_TRUE(framelist::addFrames(list, {f.pictures[0], f.pictures[1]}));
  EXPECT_EQ(f.of(list), "A* B*^ ");
  list.select(0);
  // Many frames go after the current frame, in their order, and become the
  // selection.
  framelist::addFrames(list, {f.pictures[2], core::Picture{}, f.pictures[3]});
  EXPECT_EQ(f.of(list), "A C* D*^ B ");

  EXPECT_TRUE(framelist::setSelectedTime(list, 1));  // below the shortest time GIF players keep
  EXPECT_EQ(f.of(list), "A C2* D2*^ B ");
  EXPECT_FALSE(framelist::setSelectedTime(list, 2));
  framelist::setSelectedTime(list, 5000);
  EXPECT_EQ(f.of(list), "A C1000* D1000*^ B ");

  // Copies, time included, come after the last selected frame.
  list.select(0);
  list.toggleSelected(3);
  ASSERT_TRUE(framelist::duplicateSelected(list));
  EXPECT_EQ(f.of(list), "A C1000 D1000 B A* B*^ ");

  // Shift extends from the last plain click; the block is dragged above C.
  list.select(2);
  list.extendSelection(3);
  EXPECT_EQ(f.of(list), "A C1000 D1000* B*^ A B ");
  ASSERT_TRUE(framelist::moveSelectedTo(list, 1));
  EXPECT_EQ(f.of(list), "A D1000* B*^ C1000 A B ");
  EXPECT_FALSE(framelist::moveSelectedTo(list, 1));  // dropped where it is
  EXPECT_FALSE(framelist::moveSelectedTo(list, 3));
  ASSERT_TRUE(framelist::moveSelectedTo(list, 6));  // below the last frame
  EXPECT_EQ(f.of(list), "A C1000 A B D1000* B*^ ");

  // ▲ moves a block and a lone frame of a scattered selection together.
  list.select(0);
  list.toggleSelected(4);
  list.toggleSelected(5);
  ASSERT_TRUE(list.move(framelist::MoveButton::Up));
  EXPECT_EQ(f.of(list), "A* C1000 A D1000* B*^ B ");

  // Deleting the selection selects the frame that followed it.
  ASSERT_TRUE(framelist::deleteSelected(list));
  EXPECT_EQ(f.of(list), "C1000*^ A B ");
  list.select(0);
  list.extendSelection(2);
  framelist::deleteSelected(list);
  EXPECT_TRUE(list.isEmpty());
  EXPECT_FALSE(framelist::deleteSelected(list));
  EXPECT_EQ(framelist::frameTimeText(5), "0.05");
}

// Undo puts back each state exactly (frames, times, marks and selection) and
// redo replays them, whatever the kind of change.
TEST(FrameTimeline, UndoAndRedoRestoreEveryKindOfChange) {
  Frames f(4);
  FrameList list;
  QUndoStack stack;
  int shown = 0;
  const auto record = [&](const std::function<bool(FrameList&)>& edit) {
    return framelist::recordChange(stack, list, QStringLiteral("x"), edit, [&shown] { ++shown; });
  };
  std::vector<std::string> states{f.of(list)};
  const auto step = [&](const std::function<bool(FrameList&)>& edit) {
    ASSERT_TRUE(record(edit));
    states.push_back(f.of(list));
  };
  step([&](FrameList& l) {
    l.addStock(f.pictures[0]);
    return true;
  });
  step([&](FrameList& l) { return framelist::addFrames(l, {f.pictures[1], f.pictures[2], f.pictures[3]}); });
  step([](FrameList& l) { return framelist::setSelectedTime(l, 150); });
  step([](FrameList& l) {
    l.select(1);
    return framelist::duplicateSelected(l);
  });
  step([](FrameList& l) { return framelist::moveSelectedTo(l, 0); });
  step([](FrameList& l) { return l.move(framelist::MoveButton::Down); });
  step([](FrameList& l) {
    l.setChecked(4, true);
    l.setChecked(0, true);
    l.deleteChecked();
    return true;
  });
  step([](FrameList& l) {
    l.select(1);
    return framelist::deleteSelected(l);  // the selected frame itself
  });
  step([](FrameList& l) {
    l.deleteAll();
    return true;
  });
  EXPECT_FALSE(record([](FrameList& l) { return framelist::setSelectedTime(l, 30); }));  // nothing to time
  EXPECT_EQ(stack.count(), static_cast<int>(states.size()) - 1);

  for (std::size_t k = states.size() - 1; k > 0; --k) {
    stack.undo();
    EXPECT_EQ(f.of(list), states[k - 1]) << "undo to state " << k - 1;
  }
  EXPECT_TRUE(stack.isClean());
  for (std::size_t k = 1; k < states.size(); ++k) {
    stack.redo();
    EXPECT_EQ(f.of(list), states[k]) << "redo to state " << k;
  }
  EXPECT_GT(shown, 0);
}

std::vector<std::uint8_t> readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<int> webpDurations(const std::string& path) {
  const std::vector<std::uint8_t> file = readAll(path);
  const WebPData data{file.data(), file.size()};
  std::vector<int> out;
  WebPDemuxer* demux = WebPDemux(&data);
  if (!demux) return out;
  WebPIterator it;
  if (WebPDemuxGetFrame(demux, 1, &it)) {
    do out.push_back(it.duration);
    while (WebPDemuxNextFrame(&it));
    WebPDemuxReleaseIterator(&it);
  }
  WebPDemuxDelete(demux);
  return out;
}

// The written files play each frame for its own time, the others for the
// interval; a preset raises the shorter times and says how many.
TEST(FrameTimeline, SavedGifAndWebpPlayEachFrameForItsOwnTime) {
  Frames f(4);
  const std::vector<int> own{0, 5, 150, 0};
  outtest::TempDir dir("frame-times");
  const auto answer = [](int interval, output::AdPreset preset) -> save::AnimationQuestion {
    return [=](const save::AnimationAsk& ask) {
      EXPECT_EQ(ask.shape.delayCs, (std::vector<int>{0, 5, 150, 0}));
      save::AnimationAnswer a;
      a.animated = true;
      a.animation.intervalCs = interval;
      a.animation.play.preset = preset;
      return std::optional<save::AnimationAnswer>(a);
    };
  };
  std::string ext;
  // Google's shortest interval raises the 0.05 s frame of the GIF.
  const auto gifPlan =
      framelist::planFrameSave(dir.file("t.gif"), ext, answer(10, output::AdPreset::Google), f.pictures, own);
  ASSERT_TRUE(gifPlan);
  ASSERT_TRUE(framelist::writeFrameFiles(f.pictures, *gifPlan));
  const auto gif = outtest::readGifWithGiflib(dir.file("t.gif"));
  ASSERT_TRUE(gif);
  std::vector<int> delays;
  for (const auto& i : gif->info) delays.push_back(i.delay);
  EXPECT_EQ(delays, (std::vector<int>{10, 20, 150, 10}));

  const auto webpPlan =
      framelist::planFrameSave(dir.file("w.webp"), ext, answer(30, output::AdPreset::None), f.pictures, own);
  ASSERT_TRUE(webpPlan);
  ASSERT_TRUE(framelist::writeFrameFiles(f.pictures, *webpPlan));
  EXPECT_EQ(webpDurations(dir.file("w.webp")), (std::vector<int>{300, 50, 1500, 300}));

  output::PlaySettings play;
  play.preset = output::AdPreset::Google;
  const output::PlaySummary s = output::summarize(framelist::frameListShape(f.pictures, own), 30, play);
  EXPECT_EQ(s.ownTimes, 2);
  EXPECT_EQ(s.raisedTimes, 1);
  EXPECT_EQ(output::summaryLine(s), "4 フレーム（表示時間はフレームごと） = 2.3 秒、無限に繰り返し");
  EXPECT_EQ(output::presetWarnings(s, play.preset).back(),
            "1 フレームの表示時間を Google 広告の下限 0.20 秒に延ばして保存します。");
  // A list whose frames have no times of their own is the shape it always was.
  EXPECT_TRUE(framelist::frameListShape(f.pictures, {0, 0, 0, 0}).delayCs.empty());
}

}  // namespace
