#include "match/match_engine.h"

#include <algorithm>
#include <mutex>
#include <string>
#include <utility>

#include "device/side.h"
#include "match/key_record.h"
#include "match/team_relay.h"
#include "support/timing.h"
#include "ui/main_window_layout.h"
#include "ui/option_boxes.h"
#include "ui/question_pane.h"

namespace qiru {
namespace {

inline constexpr std::string_view kCountdownHeadline = "倒计时开始";
inline constexpr std::string_view kCountdownNote = "准备……";
inline constexpr int kCountdownSeconds = 3;
inline constexpr std::string_view kRedLabelCaption = "红方";
inline constexpr std::string_view kBlueLabelCaption = "蓝方";
// How often the countdown looks whether the round was stopped.
inline constexpr std::int32_t kStopLookMs = 50;

}  // namespace

MatchEngine::MatchEngine(ui::ControlModel& model, Clock& clock, MessageService& messages, MaterialSet& materials,
                         const QuestionBank& bank)
    : model_(model),
      clock_(clock),
      messages_(messages),
      materials_(materials),
      bank_(bank),
      matchLock_(clock),
      eventQueued_(clock) {}

MatchEngine::~MatchEngine() { stop(); }

void MatchEngine::stop() {
  shuttingDown_ = true;
  std::unique_ptr<ClockLoop> worker;
  {
    // A worker in its result pause holds the lock until the pause is over.
    std::lock_guard hold(matchLock_);
    worker = std::move(worker_);
  }
  worker.reset();
}

MatchSettings MatchEngine::settings() {
  std::lock_guard hold(matchLock_);
  return settings_;
}

SideState MatchEngine::side(std::int32_t s) {
  std::lock_guard hold(matchLock_);
  return sideState(s);
}

MatchEngine::ShownEntry MatchEngine::shownEntry(std::int32_t s) {
  std::lock_guard hold(matchLock_);
  ShownEntry shown;
  if (!running()) return shown;
  MaterialEntry entry;
  if (!materials_.GetEntry(sideState(s).entryPosition, entry)) return shown;
  shown.position = sideState(s).entryPosition;
  shown.text = std::move(entry.text);
  shown.shownAt = sideState(s).shownAt;
  return shown;
}

void MatchEngine::addObserver(MatchObserver& observer) {
  std::lock_guard hold(matchLock_);
  observers_.push_back(&observer);
}

void MatchEngine::removeObserver(MatchObserver& observer) {
  std::lock_guard hold(matchLock_);
  std::erase(observers_, &observer);
}

void MatchEngine::onKeyEvent(const KeyEvent& event) {
  MatchMachines* machines = machines_.load();
  if (!machines || !isSide(event.side)) return;
  switch (state()) {
    case MatchState::Running: {
      {
        std::lock_guard hold(matchLock_);
        // Ordered by when the chord was completed, ties by when it began,
        // whichever reader delivered it first.
        const auto later = std::upper_bound(
            eventQueue_.begin(), eventQueue_.end(), event, [](const KeyEvent& a, const KeyEvent& b) {
              return std::pair(a.completedUs, a.beganUs) < std::pair(b.completedUs, b.beganUs);
            });
        eventQueue_.insert(later, event);
        eventsQueued_ = true;
      }
      eventQueued_.signal();
      return;
    }
    case MatchState::Idle:
      onIdleKey(*machines, event);
      return;
    case MatchState::ResultShown:
      if (event.name == kConfirmKeyName) finishRound(*machines);
      return;
    case MatchState::CountingDown:
    case MatchState::Closing:
      return;
  }
}

bool MatchEngine::takesEventsWithoutWaiting() {
  return state() == MatchState::Running && matchLock_.heldByNobody();
}

void MatchEngine::onIdleKey(MatchMachines& machines, const KeyEvent& event) {
  // Under the lock, so that a key that waited out the other machine's
  // countdown does not write a prompt over the first entry.
  std::lock_guard hold(matchLock_);
  if (state() != MatchState::Idle) return;
  const auto prompt = [this](const std::string& text) {
    ui::showTwoLines(model_, ui::Control::超级编辑框_题目1, text, "");
  };
  machines.refreshMachineLabels();
  if (!machines.hasReportedIn(kRedSide)) return prompt(prompts_.reportInMachine1);
  if (!machines.hasReportedIn(kBlueSide)) {
    if (machines.isOpen(kBlueSide)) return prompt(prompts_.reportInMachine2);
    // Machine 1 plays alone: machine 2 counts as reported in from the next key.
    machines.simulateMachine2(true);
    machines.refreshMachineLabels();
    return;
  }
  if (event.chord == kStartChord) return startMatch(machines);
  prompt(prompts_.pressStartKey);
}

void MatchEngine::startMatch(MatchMachines& machines) {
  std::unique_ptr<ClockLoop> previousWorker;
  {
    std::lock_guard hold(matchLock_);
    // A start key from the other machine during the countdown finds it here.
    if (state() != MatchState::Idle || shuttingDown_) return;
    // A stop asked for in an earlier round is no stop of this one; from the
    // next line on a stop finds the countdown and is kept.
    stopRequested_ = false;
    setState(MatchState::CountingDown);
    enableOptionTabs(false);
    if (!prepareMatch()) {
      enableOptionTabs(true);
      setState(MatchState::Idle);
      return;
    }
    runCountdown();
    model_.setRichText(ui::Control::超级编辑框_题目1, {});
    model_.setRichText(ui::Control::超级编辑框_题目2, {});
    machines.clearReportQueues();  // chords struck during the countdown are lost
    lostBeforeUs_ = clock_.monotonicUs();
    publishRoundStarted(settings_.mode != MatchMode::TeamRelay || settings_.memberNumber == 1);
    advanceSide(kRedSide);
    if (!sharedEntry()) advanceSide(kBlueSide);
    // A material of no entries has closed the round already.
    if (state() != MatchState::CountingDown) return;
    setState(MatchState::Running);
    // Stopped during the countdown: the countdown has cut itself short.
    if (stopRequested_) return closeStoppedRound();
    layOut();
    matchStartedAt_ = clock_.nowMs();
    for (SideState& side : sides_) side.shownAt = matchStartedAt_;
    updateTickMayClose();
    model_.setTimerPeriod(ui::Control::时钟1, kMatchTickMs);
    const std::uint64_t round = ++round_;
    previousWorker = std::exchange(worker_, startWorker(round));
  }
  // The last round's worker has ended or ends at its next look at the round.
  previousWorker.reset();
}

void MatchEngine::runCountdown() {
  const auto show = [this](std::string_view headline) {
    if (stopRequested_) return;
    ui::showTwoLines(model_, ui::Control::超级编辑框_题目1, std::string(headline), std::string(kCountdownNote));
    // In slices, so that a stop need not wait out the countdown.
    for (std::int32_t waited = 0; waited < kCountdownStepMs && !stopRequested_; waited += kStopLookMs) {
      preciseDelay(clock_, std::min(kStopLookMs, kCountdownStepMs - waited));
    }
  };
  show(kCountdownHeadline);
  for (int left = kCountdownSeconds; left >= 1; --left) show(std::to_string(left));
}

void MatchEngine::finishRound(MatchMachines& machines) {
  std::lock_guard hold(matchLock_);
  // Only once: the confirm key of the other machine may come right after.
  if (state() != MatchState::ResultShown) return;
  model_.setShown(ui::Control::外形框_结果, false);
  ++settings_.memberNumber;
  enableOptionTabs(true);
  showIdleScreen();
  for (const auto& [label, caption] : {std::pair{ui::Control::标签_一号机在线, kRedLabelCaption},
                                       std::pair{ui::Control::标签_二号机在线, kBlueLabelCaption}}) {
    model_.setAlignment(label, ui::Alignment::Centre);
    model_.setText(label, std::string(caption));
  }
  for (const std::int32_t s : {kRedSide, kBlueSide}) markWrongInput(s, false);
  // The key logs stay readable until the next round starts.
  if (!prompts_.idleStatus.empty()) model_.setStatusPaneText(ui::Control::状态条1, 0, prompts_.idleStatus);
  machines.clearReportQueues();
  machines.forgetMachineNumbers();
  // A real machine 2 stays connected; only a simulated one is let go.
  if (machines.machine2Simulated()) machines.simulateMachine2(false);
  setState(MatchState::Idle);
  layOut();
  model_.setEnabled(ui::Control::QiruPK, true);
}

void MatchEngine::showIdleScreen() {
  if (settings_.mode == MatchMode::TeamRelay && settings_.memberNumber <= settings_.teamSize) {
    ui::showTwoLines(model_, ui::Control::超级编辑框_题目1,
                     relayPromptHeadline(sideState(kRedSide).teamTotal, sideState(kBlueSide).teamTotal),
                     relayPromptNote(settings_.memberNumber));
    return;
  }
  ui::showTwoLines(model_, ui::Control::超级编辑框_题目1, std::string(kIdleHeadline), prompts_.idleNote);
}

void MatchEngine::setPrompts(MatchPrompts prompts) {
  std::lock_guard hold(matchLock_);
  prompts_ = std::move(prompts);
  if (!prompts_.idleStatus.empty()) model_.setStatusPaneText(ui::Control::状态条1, 0, prompts_.idleStatus);
}

void MatchEngine::stopRound() {
  const MatchState seen = state();
  if (seen != MatchState::CountingDown && seen != MatchState::Running) return;
  stopRequested_ = true;
  // The countdown holds the match lock; it sees the request and closes the
  // round itself as it ends.
  if (state() == MatchState::CountingDown) return;
  std::lock_guard hold(matchLock_);
  if (running() && stopRequested_) closeStoppedRound();
}

bool MatchEngine::roundStopped() {
  std::lock_guard hold(matchLock_);
  return roundStopped_;
}

void MatchEngine::setState(MatchState state) { state_.store(state); }

void MatchEngine::layOut() { ui::layOutQuestionFrame(model_, state(), settings_.mode); }

void MatchEngine::enableOptionTabs(bool enabled) {
  model_.setEnabled(ui::Control::选择夹_模式, enabled);
  model_.setEnabled(ui::Control::选择夹_素材, enabled);
}

void installMatchHandlers(ui::ControlModel& model, MatchEngine& engine) {
  model.setHandler(ui::Control::时钟1, ui::EventKind::TimerTick, [&engine](const ui::ControlEvent&) { engine.onTick(); });
  ui::installOptionStepping(model);
}

}  // namespace qiru
