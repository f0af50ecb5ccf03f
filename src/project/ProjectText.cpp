// Writing and reading the project text.
#include "project/ProjectText.h"

#include "editing/Panes.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace qv {
namespace {

// The whole-number value of a token, blanks around it allowed.
std::optional<qint64> toWhole(QStringView t) {
  t = t.trimmed();
  qsizetype i = 0;
  const bool negative = !t.isEmpty() && t[0] == u'-';
  if (!t.isEmpty() && (t[0] == u'-' || t[0] == u'+')) ++i;
  if (i >= t.size()) return std::nullopt;
  qint64 v = 0;
  for (; i < t.size(); ++i) {
    const char16_t c = t[i].unicode();
    if (c < '0' || c > '9') return std::nullopt;
    v = std::min<qint64>(v * 10 + (c - '0'), qint64(1) << 40);  // far beyond any field
  }
  return negative ? -v : v;
}

std::optional<qint64> inRange(QStringView t, qint64 lo, qint64 hi) {
  const auto v = toWhole(t);
  if (!v || *v < lo || *v > hi) return std::nullopt;
  return v;
}

std::optional<qint64> toInteger(QStringView t) { return inRange(t, INT16_MIN, INT16_MAX); }
std::optional<qint64> toLong(QStringView t) { return inRange(t, INT32_MIN, INT32_MAX); }
Flag toFlagToken(QStringView t) { return toFlag(toWhole(t) == qint64(1)); }

void appendToken(QString& out, const QString& token) {
  out += token;
  out += FieldSeparator;
}

// Our addition: a text read from a file holds no separator (the file came
// from a document in another code page) and no more than its field's
// bound; a text that was cut is noted with its field (and slot, -1 for the
// Board's).
QString textToken(QStringView token, int max, const char* field, int slot, ParseResult& result) {
  const qsizetype separators = token.count(FieldSeparator);
  if (token.size() - separators > max)
    result.damage << QStringLiteral("The %1%2 holds %3 characters; it was cut to %4.")
                         .arg(QLatin1String(field), slot < 0 ? QString() : QStringLiteral(" of slot %1").arg(slot))
                         .arg(token.size() - separators)
                         .arg(max);
  return ProjectTextOf(token.left(max + separators).toString(), max);
}

// Takes tokens from the front of the text with a cursor.
class TokenReader {
 public:
  TokenReader(const QString& text, QChar sep) : text_(text), sep_(sep) {}

  QStringView take() {
    ++taken_;
    if (pos_ >= text_.size()) return {};
    qsizetype end = text_.indexOf(sep_, pos_);
    if (end < 0) end = text_.size();
    const QStringView token = QStringView(text_).mid(pos_, end - pos_);
    pos_ = std::min(end + 1, text_.size());
    return token;
  }
  int taken() const { return taken_; }
  QString rest() const { return text_.mid(pos_); }

 private:
  const QString& text_;
  QChar sep_;
  qsizetype pos_ = 0;
  int taken_ = 0;
};

}  // namespace

const std::array<BoardSettingsField, BoardTokens>& BoardTokenFields() {
  using B = BoardSettingsRecord;
  static const std::array<BoardSettingsField, BoardTokens> fields = {{
      {"BackPictureName", FieldKind::Text, &B::BackPictureName},
      {"BoardBackColor", FieldKind::Long, &B::BoardBackColor},
      {"LabelColor", FieldKind::Long, &B::LabelColor},
      {"SelectionColor", FieldKind::Long, &B::SelectionColor},
      {"UseBackPicture", FieldKind::Flag, &B::UseBackPicture},
      {"WirePanes", FieldKind::Flag, &B::WirePanes},
      {"FloatPanes", FieldKind::Flag, &B::FloatPanes},
      {"BoardLocked", FieldKind::Flag, &B::BoardLocked},
  }};
  return fields;
}

QString SerializeProject(Workspace& ws) {
  ws.project.PaneCount = Integer(CountPanesInUse(ws));
  return SerializeProject(std::as_const(ws.project));
}

QString SerializeProject(const Project& project) {
  int count = 0;
  for (int s = 1; s <= MaxPanes; ++s) count += isSet(project.PaneTable[size_t(s)].InUse) ? 1 : 0;
  QString out;
  out.reserve(64 + count * 400);
  appendToken(out, QString::number(count));
  for (int s = 1; s <= MaxPanes; ++s) {
    PaneRecord r = project.PaneTable[size_t(s)];
    if (!isSet(r.InUse)) continue;
    appendToken(out, QString::number(s));
    for (const PaneField* f : PaneTokenFields()) {
      switch (f->kind) {
        case FieldKind::Integer: appendToken(out, QString::number(f->integer(r))); break;
        case FieldKind::Long: appendToken(out, QString::number(f->longValue(r))); break;
        case FieldKind::Flag: appendToken(out, isSet(f->integer(r)) ? "1" : "0"); break;
        // No text may hold the separator: it would split the text when read.
        case FieldKind::Text: appendToken(out, ProjectTextOf(f->text(r), f->maxLength())); break;
      }
    }
    out += FieldSeparator;  // the empty token 60
  }
  using B = BoardSettingsRecord;
  const B& b = project.BoardSettings;
  for (const auto& f : BoardTokenFields()) {
    if (auto t = std::get_if<QString B::*>(&f.member)) appendToken(out, ProjectTextOf(b.**t, MaxNameLength));
    else if (auto l = std::get_if<Long B::*>(&f.member)) appendToken(out, QString::number(b.**l));
    else appendToken(out, isSet(b.*std::get<Flag B::*>(f.member)) ? "1" : "0");
  }
  return out;
}

ParseResult ParseProject(Workspace& ws, const QString& text, QChar separator) {
  TokenReader reader(text, separator);
  ParseResult result;
  int slot = -1;
  auto fail = [&](QStringView token, const QString& field) {
    result.tokensRead = reader.taken();
    result.failedToken = reader.taken() - 1;
    result.failedField = field;
    result.failedSlot = slot;
    result.failedText = token.toString();
    result.remaining = reader.rest();
    return result;
  };

  QStringView token = reader.take();
  const auto count = toInteger(token);
  // A project holds at most 50 Panes: any other count is damage.
  if (!count || *count < 0 || *count > MaxPanes) return fail(token, QStringLiteral("PaneCount"));
  ws.project.PaneCount = Integer(*count);

  std::array<bool, SlotCount> seen{};
  for (int g = 0; g < *count; ++g) {
    slot = -1;
    token = reader.take();
    const auto s = toInteger(token);
    if (!s || !validSlot(int(*s))) return fail(token, QStringLiteral("Slot"));
    slot = int(*s);
    // Our addition: a slot listed again is damage. Its group is read, so
    // that the tokens after it stay in step, and dropped: the first wins.
    const bool repeated = seen[size_t(slot)];
    seen[size_t(slot)] = true;
    PaneRecord scratch;
    PaneRecord& r = repeated ? scratch : ws.project.PaneTable[size_t(slot)];
    if (repeated) {
      ws.project.PaneCount = Integer(ws.project.PaneCount - 1);
      result.damage << QStringLiteral("Slot %1 is listed again; that group was not used.").arg(slot);
    } else {
      ws.pointer.CurrentPane = slot;
    }
    r.InUse = QvTrue;
    for (const PaneField* f : PaneTokenFields()) {
      token = reader.take();
      if (f->kind == FieldKind::Text) {
        f->text(r) = textToken(token, f->maxLength(), f->name, slot, result);
      } else if (f->kind == FieldKind::Flag) {
        f->integer(r) = toFlagToken(token);
      } else {
        const auto v = f->kind == FieldKind::Long ? toLong(token) : toInteger(token);
        if (!v) return fail(token, QLatin1String(f->name));
        f->setNumber(r, *v);
      }
    }
    reader.take();  // the empty token 60
    if (!repeated) AddZorderItem(ws, slot);
  }
  slot = -1;

  BoardSettingsRecord& b = ws.project.BoardSettings;
  for (const auto& f : BoardTokenFields()) {
    token = reader.take();
    if (auto t = std::get_if<QString BoardSettingsRecord::*>(&f.member)) {
      b.**t = textToken(token, MaxNameLength, f.name, -1, result);
    } else if (auto l = std::get_if<Long BoardSettingsRecord::*>(&f.member)) {
      const auto v = toLong(token);
      if (!v) return fail(token, QLatin1String(f.name));
      b.**l = Long(*v);
    } else {
      b.*std::get<Flag BoardSettingsRecord::*>(f.member) = toFlagToken(token);
      if (f.kind == FieldKind::Flag && !isSet(b.UseBackPicture) &&
          std::get<Flag BoardSettingsRecord::*>(f.member) == &BoardSettingsRecord::UseBackPicture)
        SetBoardColour(ws, b.BoardBackColor);
    }
  }
  result.complete = true;
  result.tokensRead = reader.taken();
  return result;
}

QList<Long> OwnSoundsOfText(const QString& text, QChar separator) {
  TokenReader reader(text, separator);
  QList<Long> sounds;
  const auto count = toInteger(reader.take());
  const auto& fields = PaneTokenFields();
  static const qsizetype sound = std::find(fields.begin(), fields.end(), PaneFieldByName(QStringLiteral("Sound"))) - fields.begin();
  for (int g = 0; count && g < std::min<qint64>(*count, MaxPanes); ++g) {
    reader.take();  // the slot
    for (qsizetype t = 0; t < PaneGroupTokens - 1; ++t) {
      const QStringView token = reader.take();
      if (t != sound) continue;
      if (const auto v = toLong(token); v && *v >= 1000 && !sounds.contains(Long(*v))) sounds << Long(*v);
    }
  }
  return sounds;
}

}  // namespace qv
