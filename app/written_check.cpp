#include "app/written_check.h"

#include <QCoreApplication>
#include <QEvent>

#include "app/ui_texts.h"
#include "play/preset_sizes.h"

namespace app {

namespace {

QEvent::Type checkDoneType() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

struct CheckDoneEvent : QEvent {
  explicit CheckDoneEvent(std::uint64_t j) : QEvent(checkDoneType()), job(j) {}
  std::uint64_t job;
};

QString grouped(std::int64_t n) {
  return QString::fromStdString(output::groupedNumber(static_cast<std::uintmax_t>(std::max<std::int64_t>(n, 0))));
}

QString seconds(std::int64_t ms) { return QString::fromStdString(check::secondsText(ms)); }

}  // namespace

WrittenCheck::WrittenCheck(QObject* parent) : QObject(parent) {}

WrittenCheck::~WrittenCheck() { cancel(); }

void WrittenCheck::start(const std::string& file, output::AdPreset preset) {
  cancel();
  last_.reset();  // the figures of an older file are not this one's
  flag_ = std::make_shared<output::CancelFlag>(false);
  const std::uint64_t job = ++job_;
  auto done = std::make_unique<CheckDoneEvent>(job);
  worker_ = std::thread([this, file, preset, flag = flag_, done = std::move(done)]() mutable {
    Result r{file, preset, {}};
    try {
      r.outcome = check::checkBannerFile(file, preset, flag.get());
    } catch (...) {
      r.outcome.ok = false;  // out of memory: no figures
    }
    workerResult_ = std::move(r);  // read only after join()
    QCoreApplication::postEvent(this, done.release());
  });
}

bool WrittenCheck::event(QEvent* e) {
  if (e->type() != checkDoneType()) return QObject::event(e);
  if (static_cast<CheckDoneEvent*>(e)->job == job_ && worker_.joinable()) {
    join();
    if (onResult_) onResult_();
  }
  return true;
}

void WrittenCheck::join() {
  worker_.join();
  if (workerResult_ && workerResult_->outcome.ok) last_ = std::move(workerResult_);
  workerResult_.reset();
  flag_.reset();
}

void WrittenCheck::cancel() {
  if (!worker_.joinable()) return;
  flag_->store(true);
  worker_.join();
  workerResult_.reset();
  flag_.reset();
}

QString writtenSummary(const check::BannerCheck& c) {
  const check::PlayedTiming& t = c.timing;
  QString s = text::shown(text::kWrittenSummary)
                  .arg(grouped(static_cast<std::int64_t>(c.facts.bytes)))
                  .arg(static_cast<int>(t.delaysMs.size()))
                  .arg(seconds(t.onePlayMs));
  if (t.plays == 0)
    s += text::shown(text::kWrittenForever);
  else
    s += text::shown(text::kWrittenPlays, t.plays).arg(t.plays).arg(seconds(t.totalMs));
  return s;
}

QStringList brokenRules(const check::BannerCheck& c) {
  QStringList lines;
  for (const check::RuleResult& r : c.rules) {
    if (r.kept) continue;
    switch (r.rule) {
      case check::Rule::ShortestDelay:
        lines << text::shown(text::kWrittenShortest).arg(seconds(r.figure), seconds(r.limit));
        break;
      case check::Rule::LengthenedDelay:
        lines << text::shown(text::kWrittenLengthened, static_cast<int>(r.figure)).arg(r.figure);
        break;
      case check::Rule::Endless:
        lines << text::shown(text::kWrittenEndless);
        break;
      case check::Rule::TotalTime:
        lines << text::shown(text::kWrittenTotal).arg(seconds(r.figure), seconds(r.limit));
        break;
      case check::Rule::Plays:
        lines << text::shown(text::kWrittenPlaysOver).arg(r.figure).arg(r.limit);
        break;
      case check::Rule::Bytes:
        lines << text::shown(text::kWrittenBytes).arg(grouped(r.figure), grouped(r.limit));
        break;
      case check::Rule::Size:
        lines << text::shown(text::kWrittenSize).arg(c.facts.width).arg(c.facts.height);
        break;
      case check::Rule::GeneralFlash:
        lines << text::shown(text::kGifFlashGeneral).arg(r.figure).arg(r.limit);
        break;
      case check::Rule::RedFlash:
        lines << text::shown(text::kGifFlashRed).arg(r.figure).arg(r.limit);
        break;
    }
  }
  return lines;
}

}  // namespace app
