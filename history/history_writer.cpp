#include "history/history_writer.h"

#include "materials/md5.h"
#include "materials/utf8_path.h"

namespace qiru {

HistoryWriter::HistoryWriter(std::filesystem::path path, MessageService* messages)
    : path_(std::move(path)),
      messages_(messages),
      collector_([this](PlayedRound&& round) { submit(std::move(round)); }),
      thread_([this] { run(); }) {}

HistoryWriter::~HistoryWriter() {
  {
    std::lock_guard hold(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

void HistoryWriter::submit(PlayedRound&& round) {
  queue([this, round = std::move(round)] { write(round); });
}

void HistoryWriter::nameMachine(std::int32_t machine, std::string name) {
  queue([this, machine, name = std::move(name)] {
    if (problem() != HistoryProblem::None) return;
    if (const HistoryProblem naming = database_.setMachineName(machine, name); naming != HistoryProblem::None) {
      report(naming, database_.lastError());
    }
  });
}

void HistoryWriter::queue(std::function<void()> task) {
  {
    std::lock_guard hold(mutex_);
    waiting_.push_back(std::move(task));
  }
  wake_.notify_one();
}

void HistoryWriter::flush() {
  std::unique_lock hold(mutex_);
  done_.wait(hold, [this] { return waiting_.empty() && !writing_; });
}

HistoryProblem HistoryWriter::problem() const {
  std::lock_guard hold(mutex_);
  return problem_;
}

void HistoryWriter::run() {
  // Opened at once, so that a file that cannot be kept is told before the first match.
  if (const HistoryProblem opening = database_.open(path_, HistoryDatabase::Access::Write);
      opening != HistoryProblem::None) {
    report(opening, database_.lastError());
  }
  std::unique_lock hold(mutex_);
  writing_ = false;
  done_.notify_all();
  while (true) {
    wake_.wait(hold, [this] { return stopping_ || !waiting_.empty(); });
    if (waiting_.empty()) return;  // stopping, and everything is written
    const std::function<void()> task = std::move(waiting_.front());
    waiting_.pop_front();
    writing_ = true;
    hold.unlock();
    task();
    hold.lock();
    writing_ = false;
    if (waiting_.empty()) done_.notify_all();
  }
}

void HistoryWriter::write(const PlayedRound& round) {
  if (problem() != HistoryProblem::None) return;  // told once; the match goes on without history
  const std::string md5 = fileMd5(pathFromUtf8(round.start.materialPath));
  if (const HistoryProblem writing = database_.writeRound(round, md5); writing != HistoryProblem::None) {
    report(writing, database_.lastError());
  }
}

void HistoryWriter::report(HistoryProblem problem, const std::string& detail) {
  {
    std::lock_guard hold(mutex_);
    problem_ = problem;
  }
  if (!messages_) return;
  MessageRequest request;
  request.caption = kHistoryMessageCaption;
  request.text = historyProblemText(problem, path_, detail);
  request.icon = MessageIcon::Warning;
  request.timeoutMs = kHistoryMessageMs;
  messages_->show(request);
}

}  // namespace qiru
