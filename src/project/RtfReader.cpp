// The tolerant rich-text reader.
#include "project/RtfReader.h"

#include <algorithm>
#include <array>
#include <deque>
#include <map>
#include <string_view>

namespace qv {
namespace {

using namespace std::string_view_literals;

// Destinations whose contents are no part of the document's text.
constexpr std::array SkippedDestinations = {
    "aftncn"sv, "aftnsep"sv, "aftnsepc"sv, "annotation"sv, "atnauthor"sv, "atndate"sv,
    "atnid"sv, "atnref"sv, "author"sv, "bkmkend"sv, "bkmkstart"sv, "buptim"sv,
    "category"sv, "colorschememapping"sv, "colortbl"sv, "comment"sv, "company"sv,
    "creatim"sv, "datastore"sv, "defchp"sv, "defpap"sv, "doccomm"sv, "docvar"sv,
    "fchars"sv, "filetbl"sv, "fldinst"sv, "footer"sv, "footerf"sv, "footerl"sv,
    "footerr"sv, "footnote"sv, "ftncn"sv, "ftnsep"sv, "ftnsepc"sv, "generator"sv,
    "header"sv, "headerf"sv, "headerl"sv, "headerr"sv, "hlinkbase"sv, "info"sv,
    "keywords"sv, "latentstyles"sv, "lchars"sv, "listoverridetable"sv, "listtable"sv,
    "listtext"sv, "manager"sv, "mmathPr"sv, "nonshppict"sv, "objclass"sv, "objdata"sv,
    "object"sv, "operator"sv, "passwordhash"sv, "pgdsctbl"sv, "pict"sv, "pntext"sv,
    "pntxta"sv, "pntxtb"sv, "printim"sv, "private"sv, "revtbl"sv, "revtim"sv,
    "rsidtbl"sv, "rxe"sv, "shpinst"sv, "shppict"sv, "shprslt"sv, "sp"sv,
    "stylesheet"sv, "subject"sv, "tc"sv, "template"sv, "themedata"sv, "title"sv,
    "txe"sv, "userprops"sv, "wgrffmtfilter"sv, "xe"sv, "xmlnstbl"sv,
};

bool isSkippedDestination(std::string_view word) {
  return std::binary_search(SkippedDestinations.begin(), SkippedDestinations.end(), word);
}

// Control words that stand for one character.
struct NamedChar {
  std::string_view word;
  char16_t c;
};
constexpr std::array NamedChars = {
    NamedChar{"bullet", 0x2022},   NamedChar{"emdash", 0x2014},  NamedChar{"emspace", 0x2003},
    NamedChar{"endash", 0x2013},   NamedChar{"enspace", 0x2002}, NamedChar{"ldblquote", 0x201C},
    NamedChar{"lquote", 0x2018},   NamedChar{"ltrmark", 0x200E}, NamedChar{"qmspace", 0x2005},
    NamedChar{"rdblquote", 0x201D}, NamedChar{"rquote", 0x2019}, NamedChar{"rtlmark", 0x200F},
    NamedChar{"zwj", 0x200D},      NamedChar{"zwnj", 0x200C},
};

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

enum class Dest : uint8_t { Text, FontTable, Skip };

struct GroupState {
  int font = -1;     // -1: the default font
  quint16 uc = 1;    // fallback characters after \uN (more than 65535 skip as many)
  Dest dest = Dest::Text;
  bool operator==(const GroupState&) const = default;
};

// Groups that share one state, innermost last: a group opens as a copy of
// the one around it, so the stack is kept as runs of equal states. It grows
// only with the changes a document makes (each takes a control word and a
// brace, at least four bytes, for a run of twelve), never with its braces.
struct Run {
  GroupState state;
  qint32 count;
};

class Parser {
 public:
  explicit Parser(const QByteArray& bytes) : data_(bytes.constData()), size_(bytes.size()) {}

  RtfReadResult run(qsizetype start) {
    pos_ = start;
    while (pos_ < size_ && !done_) {
      const char c = data_[pos_++];
      switch (c) {
        case '{': openGroup(); break;
        case '}': closeGroup(); break;
        case '\\': control(); break;
        case '\r': case '\n': break;
        case '\t': emitChar(u'\t'); break;
        default:
          if (static_cast<unsigned char>(c) >= 0x20) emitByte(c);
          break;
      }
    }
    flush();
    // The paragraph mark that closes the document is no part of its text.
    if (lastParEnd_ == out_.size() && out_.endsWith(QStringLiteral("\r\n"))) out_.chop(2);
    RtfReadResult r;
    r.ok = true;
    r.text = out_;
    r.codePage = codePageOfFont(-1);
    return r;
  }

 private:
  const GroupState& top() const { return runs_.empty() ? outer_ : runs_.back().state; }

  // Changes one value of the innermost group, parting it from its run.
  template <typename T>
  void set(T GroupState::*value, T to) {
    if (top().*value == to) return;
    if (runs_.empty()) {
      outer_.*value = to;
      return;
    }
    if (runs_.back().count > 1) {
      --runs_.back().count;
      runs_.push_back({runs_.back().state, 1});
    }
    runs_.back().state.*value = to;
  }

  void openGroup() {
    if (runs_.empty()) runs_.push_back({outer_, 1});
    else ++runs_.back().count;
    ++depth_;
    skip_ = 0;
  }

  void closeGroup() {
    skip_ = 0;
    if (depth_ == 0) return;
    if (--runs_.back().count == 0) runs_.pop_back();
    if (--depth_ == 0) done_ = true;  // the document's own group ended
  }

  // After a backslash: a control word (letters, an optional number and one
  // blank as its delimiter) or a control symbol (any other character).
  void control() {
    if (pos_ >= size_) return;
    const char c = data_[pos_];
    if (!isLetter(c)) {
      ++pos_;
      symbol(c);
      return;
    }
    const qsizetype wordStart = pos_;
    while (pos_ < size_ && isLetter(data_[pos_])) ++pos_;
    const std::string_view word(data_ + wordStart, size_t(pos_ - wordStart));
    bool hasParam = false;
    qint64 param = 0;
    const bool negative = pos_ + 1 < size_ && data_[pos_] == '-' && isDigit(data_[pos_ + 1]);
    if (negative) ++pos_;
    while (pos_ < size_ && isDigit(data_[pos_])) {
      hasParam = true;
      param = std::min<qint64>(param * 10 + (data_[pos_] - '0'), qint64(1) << 32);
      ++pos_;
    }
    if (negative) param = -param;
    if (pos_ < size_ && data_[pos_] == ' ') ++pos_;
    const int n = int(std::clamp<qint64>(param, INT32_MIN, INT32_MAX));
    if (word == "bin") {
      // Binary data: skipped whatever the destination, braces included.
      if (hasParam && n > 0) pos_ += std::min<qsizetype>(n, size_ - pos_);
      return;
    }
    if (top().dest == Dest::Skip) return;
    if (skip_ > 0) {
      --skip_;  // a control word stands for one fallback character
      return;
    }
    if (top().dest == Dest::FontTable) return fontTableWord(word, hasParam, n);
    textWord(word, hasParam, n);
  }

  void symbol(char c) {
    switch (c) {
      case '\'': {
        int value = 0, digits = 0;
        while (digits < 2 && pos_ < size_ && hexValue(data_[pos_]) >= 0) {
          value = value * 16 + hexValue(data_[pos_++]);
          ++digits;
        }
        if (digits > 0) emitByte(char(value));
        return;
      }
      case '*':
        if (depth_ > 1) set(&GroupState::dest, Dest::Skip);
        return;
      case '\\': case '{': case '}': emitByte(c); return;
      case '~': emitChar(0x00A0); return;
      case '-': emitChar(0x00AD); return;
      case '_': emitChar(0x2011); return;
      case '\r': case '\n': paragraph(); return;
      default:
        if (skip_ > 0 && top().dest == Dest::Text) --skip_;
        return;
    }
  }

  void fontTableWord(std::string_view word, bool hasParam, int n) {
    if (!hasParam) {
      if (isSkippedDestination(word)) set(&GroupState::dest, Dest::Skip);
      return;
    }
    if (word == "f") {
      tableFont_ = n;
    } else if (word == "fcharset") {
      if (const int cp = CodePageOfCharset(n)) fontCp_[tableFont_] = cp;
    } else if (word == "cpg") {
      if (SupportedCodePage(n)) fontCp_[tableFont_] = n;
    }
  }

  void textWord(std::string_view word, bool hasParam, int n) {
    if (word == "par" || word == "sect" || word == "page" || word == "line" || word == "row") {
      if (word == "par") paragraph();
      else emitChar(u'\n');
    } else if (word == "tab" || word == "cell" || word == "nestcell") {
      emitChar(u'\t');
    } else if (word == "u") {
      if (hasParam) unicode(n);
    } else if (word == "uc") {
      set(&GroupState::uc, quint16(hasParam ? std::clamp(n, 0, 0xFFFF) : 1));
    } else if (word == "f") {
      if (hasParam) set(&GroupState::font, n);
    } else if (word == "plain") {
      set(&GroupState::font, -1);
    } else if (word == "deff") {
      if (hasParam) deff_ = n;
    } else if (word == "ansicpg") {
      if (hasParam) {
        docCp_ = n;
        cpgSeen_ = true;
      }
    } else if (!cpgSeen_ && (word == "ansi" || word == "mac" || word == "pc" || word == "pca")) {
      docCp_ = word == "ansi" ? DefaultCodePage : word == "mac" ? 10000 : word == "pc" ? 437 : 850;
    } else if (depth_ > 1 && word == "fonttbl") {
      set(&GroupState::dest, Dest::FontTable);
    } else if (depth_ > 1 && isSkippedDestination(word)) {
      set(&GroupState::dest, Dest::Skip);
    } else {
      for (const auto& nc : NamedChars)
        if (nc.word == word) {
          emitChar(nc.c);
          return;
        }
    }
  }

  // A paragraph mark is a carriage return and a line feed in the text, as
  // the text of a RichEdit control on Windows holds it; \line is a lone
  // line feed.
  void paragraph() {
    if (emitChar(u'\r') && emitChar(u'\n')) lastParEnd_ = out_.size();
  }

  void unicode(int n) {
    if (n < 0) n += 0x10000;
    flush();
    if (n >= 0 && n <= 0xFFFF) {
      out_.append(QChar(char16_t(n)));
    } else if (n > 0xFFFF && n <= 0x10FFFF) {
      const char32_t u = char32_t(n);
      out_.append(QString::fromUcs4(&u, 1));
    }
    skip_ = top().uc;
  }

  int codePageOfFont(int font) const {
    const auto it = fontCp_.find(font < 0 ? deff_ : font);
    return it != fontCp_.end() ? it->second : docCp_;
  }
  int currentCodePage() { return codePageOfFont(top().font); }

  void emitByte(char b) {
    if (top().dest != Dest::Text) return;
    if (skip_ > 0) {
      --skip_;
      return;
    }
    const int cp = currentCodePage();
    if (!pending_.isEmpty() && cp != pendingCp_) flush();
    pending_.append(b);
    pendingCp_ = cp;
  }

  // Whether c was added (it is not inside a skipped destination or fallback).
  bool emitChar(char16_t c) {
    if (top().dest != Dest::Text) return false;
    if (skip_ > 0) {
      --skip_;
      return false;
    }
    flush();
    out_.append(QChar(c));
    return true;
  }

  void flush() {
    if (pending_.isEmpty()) return;
    out_.append(decoder_.decode(pendingCp_, pending_));
    pending_.clear();
  }

  const char* data_;
  qsizetype size_;
  qsizetype pos_ = 0;
  bool done_ = false;
  std::deque<Run> runs_;  // chunks of memory, never copied as the stack grows
  qint64 depth_ = 0;
  GroupState outer_;  // outside every group (only before the first brace)
  int skip_ = 0;      // fallback characters still to skip
  int docCp_ = DefaultCodePage;
  bool cpgSeen_ = false;
  int deff_ = 0;
  int tableFont_ = 0;
  std::map<int, int> fontCp_;
  QString out_;
  QByteArray pending_;
  int pendingCp_ = DefaultCodePage;
  qsizetype lastParEnd_ = -1;
  CodePageDecoder decoder_;
};

}  // namespace

RtfReadResult ReadRtf(const QByteArray& bytes) {
  qsizetype start = 0;
  if (bytes.startsWith("\xEF\xBB\xBF")) start = 3;
  while (start < bytes.size() && (bytes[start] == ' ' || bytes[start] == '\t' ||
                                  bytes[start] == '\r' || bytes[start] == '\n'))
    ++start;
  const QByteArray head = bytes.mid(start, 6);
  if (!head.startsWith("{\\rtf") && !head.startsWith("{\\urtf")) {
    RtfReadResult r;
    r.error = QStringLiteral("The file is not a rich-text document.");
    return r;
  }
  return Parser(bytes).run(start);
}

}  // namespace qv
