// What a command ended with: done, done with warnings (each naming a file
// and a reason), cancelled by the user, or failed (the file and the reason).
// Callers decide by the kind, never by reading a message's text.
#pragma once
#include <QString>
#include <QVector>

namespace qv {

struct Problem {
  QString file;
  QString reason;
  bool operator==(const Problem&) const = default;
};

class Outcome {
 public:
  enum class Kind { Done, DoneWithWarnings, Cancelled, Failed };

  static Outcome done() { return Outcome(Kind::Done); }
  static Outcome cancelled() { return Outcome(Kind::Cancelled); }
  static Outcome failed(const QString& file, const QString& reason) {
    Outcome o(Kind::Failed);
    o.failure_ = {file, reason};
    return o;
  }

  // Notes something that did not stop the command; a done command becomes
  // done with warnings.
  void warn(const QString& file, const QString& reason) {
    warnings_.append({file, reason});
    if (kind_ == Kind::Done) kind_ = Kind::DoneWithWarnings;
  }

  Kind kind() const { return kind_; }
  // The command did its work (with or without warnings).
  bool succeeded() const { return kind_ == Kind::Done || kind_ == Kind::DoneWithWarnings; }
  bool wasCancelled() const { return kind_ == Kind::Cancelled; }
  bool hasFailed() const { return kind_ == Kind::Failed; }
  const Problem& failure() const { return failure_; }
  const QVector<Problem>& warnings() const { return warnings_; }

 private:
  explicit Outcome(Kind k) : kind_(k) {}
  Kind kind_;
  Problem failure_;
  QVector<Problem> warnings_;
};

}  // namespace qv
