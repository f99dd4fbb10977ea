// The end of a round: the scores compared, the result panel shown, and in
// the team relay the team totals and whether the relay is over.

#include "device/side.h"
#include "match/match_engine.h"
#include "match/result_texts.h"
#include "support/timing.h"

namespace qiru {

void MatchEngine::closeRound() {
  using ui::Control;
  model_.setEnabled(Control::QiruPK, false);  // until the confirm key
  setState(MatchState::Closing);
  for (SideState& side : sides_) side.entryPosition = 0;
  model_.setTimerPeriod(Control::时钟1, 0);
  SideState& red = sideState(kRedSide);
  SideState& blue = sideState(kBlueSide);
  Verdict verdict;
  if (settings_.mode == MatchMode::TeamRelay) {
    red.teamTotal += red.roundScore;
    blue.teamTotal += blue.roundScore;
    model_.setText(Control::标签_局成绩, roundScoreLine(red.roundScore, blue.roundScore));
    model_.setShown(Control::标签_局成绩, true);
    model_.setText(Control::标签_红方成绩, std::to_string(red.teamTotal));
    model_.setText(Control::标签_蓝方成绩, std::to_string(blue.teamTotal));
    const bool lastMember = settings_.memberNumber == settings_.teamSize;
    if (lastMember) settings_.teamSize = 0;  // the relay is over
    verdict = judge(red.teamTotal, blue.teamTotal, lastMember ? kRelayFinalVerdicts : kRelayInterimVerdicts);
  } else {
    model_.setShown(Control::标签_局成绩, false);
    model_.setText(Control::标签_红方成绩, std::to_string(red.roundScore));
    model_.setText(Control::标签_蓝方成绩, std::to_string(blue.roundScore));
    verdict = judge(red.roundScore, blue.roundScore, kRoundVerdicts);
  }
  model_.setText(Control::标签_结果, std::string(verdict.text));
  model_.setTextColour(Control::标签_结果, verdict.colour);
  model_.setText(Control::标签_中止, roundStopped_ ? std::string(kRoundStoppedMark) : std::string());
  model_.setShown(Control::标签_中止, roundStopped_);
  showGoOn();
  model_.setShown(Control::外形框_结果, true);
  publishRoundResult(verdict);
  preciseDelay(clock_, kResultPauseMs);
  // The program may be closing meanwhile: its machines are about to go.
  if (MatchMachines* machines = machines_.load(); machines && !shuttingDown_) machines->clearReportQueues();
  setState(MatchState::ResultShown);
}

void MatchEngine::closeStoppedRound() {
  roundStopped_ = true;
  stopRequested_ = false;
  closeRound();
}

void MatchEngine::showGoOn() {
  model_.setText(ui::Control::标签_继续提示, prompts_.goOn);
  model_.setShown(ui::Control::标签_继续提示, !prompts_.goOn.empty());
}

}  // namespace qiru
