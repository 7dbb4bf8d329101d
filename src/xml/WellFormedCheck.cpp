#include "xml/WellFormedCheck.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace {

constexpr char kNotUtf8[] = "bytes that are not UTF-8";
constexpr char kNotXmlChar[] = "a character that XML does not allow";

// Elements with more attributes than this are checked for repeats by sorting their names.
constexpr size_t kPairwiseAttributeLimit = 8;

bool IsSpaceByte(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool IsXmlChar(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

bool IsNameStartChar(char32_t c) {
    if (c < 0x80)
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':';
    return (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) ||
           (c >= 0x370 && c <= 0x37D) || (c >= 0x37F && c <= 0x1FFF) ||
           (c >= 0x200C && c <= 0x200D) || (c >= 0x2070 && c <= 0x218F) ||
           (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) ||
           (c >= 0xF900 && c <= 0xFDCF) || (c >= 0xFDF0 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0xEFFFF);
}

bool IsNameChar(char32_t c) {
    return IsNameStartChar(c) || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == 0xB7 ||
           (c >= 0x300 && c <= 0x36F) || (c >= 0x203F && c <= 0x2040);
}

bool IsPubidChar(char32_t c) {
    return c == 0x20 || c == 0xD || c == 0xA || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
           (c >= '0' && c <= '9') ||
           (c < 0x80 && std::string_view("-'()+,./:=?;!*#@$_%").find(static_cast<char>(c)) !=
                            std::string_view::npos);
}

// [A-Za-z] ([A-Za-z0-9._] | '-')*
bool IsEncodingName(std::string_view name) {
    auto letter = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    };
    if (name.empty() || !letter(name.front()))
        return false;
    return std::all_of(name.begin(), name.end(), [&](char c) {
        return letter(c) || (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
    });
}

bool IsPredefinedEntity(std::string_view name) {
    return name == "lt" || name == "gt" || name == "amp" || name == "apos" || name == "quot";
}

// The character encoded at `at` (with `left` bytes from there) and its length in bytes; a
// length of 0 when the bytes are not UTF-8, overlong forms, surrogates and values past
// U+10FFFF included.
char32_t DecodeUtf8(const unsigned char* at, qsizetype left, int* length) {
    *length = 0;
    const unsigned char lead = at[0];
    if (lead < 0x80) {
        *length = 1;
        return lead;
    }
    int size = 0;
    char32_t c = 0;
    char32_t smallest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        size = 2;
        c = lead & 0x1F;
        smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        size = 3;
        c = lead & 0x0F;
        smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        size = 4;
        c = lead & 0x07;
        smallest = 0x10000;
    } else {
        return 0;
    }
    if (left < size)
        return 0;
    for (int i = 1; i < size; ++i) {
        if ((at[i] & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (at[i] & 0x3F);
    }
    if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    *length = size;
    return c;
}

struct AttributeName {
    std::string_view name;
    qsizetype offset;
};

// One pass over the text. Every reader returns false once it has recorded a fault; the first
// fault is the one reported.
class Scanner {
public:
    Scanner(QByteArrayView text, EncodingLabel label)
        : data_(reinterpret_cast<const unsigned char*>(text.data())), size_(text.size()),
          label_(label) {}

    WellFormedness run() {
        if (startsWith("<?xml") && size_ > 5 && IsSpaceByte(data_[5]) && !declaration())
            return result_;
        bool rootSeen = false;
        bool doctypeSeen = false;
        for (;;) {
            skipSpaces();
            if (atEnd())
                break;
            bool read = false;
            if (skip("<!--")) {
                read = comment();
            } else if (skip("<?")) {
                read = processingInstruction();
            } else if (!rootSeen && !doctypeSeen && skip("<!DOCTYPE")) {
                doctypeSeen = true;
                read = doctype();
            } else if (!rootSeen && atStartTag()) {
                rootSeen = true;
                read = element();
            } else {
                read = fail(rootSeen ? "content after the root element"
                                     : "content that does not belong before the root element");
            }
            if (!read)
                return result_;
        }
        if (!rootSeen)
            fail("no root element");
        return result_;
    }

private:
    bool atEnd() const { return pos_ >= size_; }
    unsigned char current() const { return data_[pos_]; }

    bool startsWith(std::string_view text) const {
        return size_ - pos_ >= static_cast<qsizetype>(text.size()) &&
               std::equal(text.begin(), text.end(), data_ + pos_);
    }

    bool skip(std::string_view text) {
        if (!startsWith(text))
            return false;
        pos_ += static_cast<qsizetype>(text.size());
        return true;
    }

    std::string_view view(qsizetype from, qsizetype to) const {
        return {reinterpret_cast<const char*>(data_) + from, static_cast<size_t>(to - from)};
    }

    bool failAt(qsizetype offset, const char* problem) {
        if (result_.isWellFormed())
            result_ = {offset, problem};
        return false;
    }
    bool fail(const char* problem) { return failAt(pos_, problem); }

    bool expect(char c, const char* problem) {
        if (atEnd() || current() != static_cast<unsigned char>(c))
            return fail(problem);
        ++pos_;
        return true;
    }

    // True when at least one white-space character was skipped.
    bool skipSpaces() {
        const qsizetype start = pos_;
        while (!atEnd() && IsSpaceByte(current()))
            ++pos_;
        return pos_ > start;
    }

    // Moves past one character, which must be UTF-8 and allowed in XML.
    bool advanceChar(char32_t* read = nullptr) {
        int length = 0;
        const char32_t c = DecodeUtf8(data_ + pos_, size_ - pos_, &length);
        if (length == 0)
            return fail(kNotUtf8);
        if (!IsXmlChar(c))
            return fail(kNotXmlChar);
        pos_ += length;
        if (read)
            *read = c;
        return true;
    }

    bool name(std::string_view* read) {
        const qsizetype start = pos_;
        int length = 0;
        char32_t c = atEnd() ? 0 : DecodeUtf8(data_ + pos_, size_ - pos_, &length);
        if (length == 0 && !atEnd())
            return fail(kNotUtf8);
        if (length == 0 || !IsNameStartChar(c))
            return fail("a name expected");
        pos_ += length;
        while (!atEnd()) {
            if (current() < 0x80) {
                if (!IsNameChar(current()))
                    break;
                ++pos_;
                continue;
            }
            c = DecodeUtf8(data_ + pos_, size_ - pos_, &length);
            if (length == 0)
                return fail(kNotUtf8);
            if (!IsNameChar(c))
                break;
            pos_ += length;
        }
        *read = view(start, pos_);
        return true;
    }

    // A value in single or double quotes, any XML characters; `value` is what lies between.
    bool quoted(std::string_view* value) {
        if (atEnd() || (current() != '"' && current() != '\''))
            return fail("a quoted value expected");
        const unsigned char quote = current();
        const qsizetype start = ++pos_;
        while (!atEnd() && current() != quote) {
            if (!advanceChar())
                return false;
        }
        if (atEnd())
            return fail("quoted value not closed");
        *value = view(start, pos_++);
        return true;
    }

    bool equalsSign() {
        skipSpaces();
        if (!expect('=', "'=' expected"))
            return false;
        skipSpaces();
        return true;
    }

    // At "<?xml" and white space.
    bool declaration() {
        skip("<?xml");
        skipSpaces();
        std::string_view value;
        if (!skip("version"))
            return fail("the XML declaration must begin with the version");
        const qsizetype versionAt = pos_;
        if (!equalsSign() || !quoted(&value))
            return false;
        if (value.size() < 3 || value.substr(0, 2) != "1." ||
            !std::all_of(value.begin() + 2, value.end(),
                         [](char c) { return c >= '0' && c <= '9'; }))
            return failAt(versionAt, "an XML version other than 1.x");
        bool spaced = skipSpaces();
        if (spaced && skip("encoding")) {
            const qsizetype encodingAt = pos_;
            if (!equalsSign() || !quoted(&value))
                return false;
            if (label_ == EncodingLabel::Binding && !IsEncodingName(value))
                return failAt(encodingAt, "not an encoding name");
            spaced = skipSpaces();
        }
        if (spaced && skip("standalone")) {
            const qsizetype standaloneAt = pos_;
            if (!equalsSign() || !quoted(&value))
                return false;
            if (value != "yes" && value != "no")
                return failAt(standaloneAt, "standalone must be yes or no");
            skipSpaces();
        }
        return skip("?>") || fail("malformed XML declaration");
    }

    // After "<!--".
    bool comment() {
        while (!atEnd()) {
            if (startsWith("--"))
                return skip("-->") || fail("'--' inside a comment");
            if (!advanceChar())
                return false;
        }
        return fail("comment not closed");
    }

    // After "<?".
    bool processingInstruction() {
        const qsizetype start = pos_ - 2;
        std::string_view target;
        if (!name(&target))
            return false;
        if (target.size() == 3 && (target[0] | 0x20) == 'x' && (target[1] | 0x20) == 'm' &&
            (target[2] | 0x20) == 'l')
            return failAt(start, "an XML declaration that is not at the start");
        if (skip("?>"))
            return true;
        if (!skipSpaces())
            return fail("space expected after the instruction's target");
        return skipThrough("?>", "processing instruction not closed");
    }

    // After "<![CDATA[".
    bool cdataSection() { return skipThrough("]]>", "CDATA section not closed"); }

    // Moves past the next `end`, checking every character on the way; fails with `notClosed`
    // when the text ends first.
    bool skipThrough(std::string_view end, const char* notClosed) {
        while (!atEnd()) {
            if (skip(end))
                return true;
            if (!advanceChar())
                return false;
        }
        return fail(notClosed);
    }

    bool systemLiteral() {
        std::string_view ignored;
        return quoted(&ignored);
    }

    bool pubidLiteral() {
        const qsizetype start = pos_;
        std::string_view value;
        if (!quoted(&value))
            return false;
        const bool pubid = std::all_of(value.begin(), value.end(), [](char c) {
            return IsPubidChar(static_cast<unsigned char>(c));
        });
        return pubid || failAt(start, "a character not allowed in a public identifier");
    }

    // After "<!DOCTYPE".
    bool doctype() {
        std::string_view root;
        if (!skipSpaces())
            return fail("space expected after DOCTYPE");
        if (!name(&root))
            return false;
        const bool spaced = skipSpaces();
        if (spaced && skip("SYSTEM")) {
            if (!skipSpaces())
                return fail("space expected after SYSTEM");
            if (!systemLiteral())
                return false;
        } else if (spaced && skip("PUBLIC")) {
            if (!skipSpaces())
                return fail("space expected after PUBLIC");
            if (!pubidLiteral())
                return false;
            if (!skipSpaces())
                return fail("space expected before the system identifier");
            if (!systemLiteral())
                return false;
        }
        skipSpaces();
        if (!atEnd() && current() == '[')
            return fail("a DOCTYPE with an internal subset");
        return expect('>', "'>' expected to close the DOCTYPE");
    }

    // At "&": an entity or character reference.
    bool reference() {
        const qsizetype start = pos_++;
        if (skip("#")) {
            const bool hex = skip("x");
            const qsizetype digitsAt = pos_;
            char32_t value = 0;
            while (!atEnd()) {
                const unsigned char c = current();
                int digit = -1;
                if (c >= '0' && c <= '9')
                    digit = c - '0';
                else if (hex && (c | 0x20) >= 'a' && (c | 0x20) <= 'f')
                    digit = (c | 0x20) - 'a' + 10;
                if (digit < 0)
                    break;
                // Saturates past the largest character, so a long run of digits stays invalid.
                value = std::min<char32_t>(value * (hex ? 16 : 10) + digit, 0x110000);
                ++pos_;
            }
            if (pos_ == digitsAt)
                return fail("digits expected in a character reference");
            if (!expect(';', "';' expected to end the character reference"))
                return false;
            return IsXmlChar(value) ||
                   failAt(start, "a reference to a character XML does not allow");
        }
        std::string_view entity;
        if (!name(&entity) || !expect(';', "';' expected to end the entity reference"))
            return false;
        return IsPredefinedEntity(entity) || failAt(start, "a reference to an undefined entity");
    }

    bool attributeValue() {
        if (atEnd() || (current() != '"' && current() != '\''))
            return fail("a quoted attribute value expected");
        const unsigned char quote = current();
        ++pos_;
        while (!atEnd() && current() != quote) {
            const unsigned char c = current();
            if (c == '<')
                return fail("'<' inside an attribute value");
            if (c >= 0x20 && c < 0x80 && c != '&')
                ++pos_;
            else if (!(c == '&' ? reference() : advanceChar()))
                return false;
        }
        return expect(static_cast<char>(quote), "attribute value not closed");
    }

    bool attributesUnique() {
        if (attributes_.size() < 2)
            return true;
        if (attributes_.size() <= kPairwiseAttributeLimit) {
            for (size_t later = 1; later < attributes_.size(); ++later) {
                for (size_t earlier = 0; earlier < later; ++earlier) {
                    if (attributes_[earlier].name == attributes_[later].name)
                        return failAt(attributes_[later].offset, "an attribute given twice");
                }
            }
            return true;
        }
        std::sort(attributes_.begin(), attributes_.end(),
                  [](const AttributeName& a, const AttributeName& b) {
                      return a.name < b.name || (a.name == b.name && a.offset < b.offset);
                  });
        qsizetype firstRepeat = -1;
        for (size_t i = 1; i < attributes_.size(); ++i) {
            if (attributes_[i].name == attributes_[i - 1].name &&
                (firstRepeat < 0 || attributes_[i].offset < firstRepeat))
                firstRepeat = attributes_[i].offset;
        }
        return firstRepeat < 0 || failAt(firstRepeat, "an attribute given twice");
    }

    bool atStartTag() const {
        return size_ - pos_ >= 2 && current() == '<' && data_[pos_ + 1] != '/' &&
               data_[pos_ + 1] != '!' && data_[pos_ + 1] != '?';
    }

    // At "<": the element's name and attributes up to ">" or "/>".
    bool startTag(std::string_view* tag, bool* empty) {
        ++pos_;
        if (!name(tag))
            return false;
        attributes_.clear();
        for (;;) {
            const bool spaced = skipSpaces();
            if (atEnd())
                return fail("start tag not closed");
            if (skip("/>")) {
                *empty = true;
                return attributesUnique();
            }
            if (skip(">")) {
                *empty = false;
                return attributesUnique();
            }
            if (!spaced)
                return fail("space expected before an attribute");
            AttributeName attribute{{}, pos_};
            if (!name(&attribute.name) || !equalsSign() || !attributeValue())
                return false;
            attributes_.push_back(attribute);
        }
    }

    // After "</": the name must close the innermost open element.
    bool endTag() {
        const qsizetype start = pos_;
        std::string_view tag;
        if (!name(&tag))
            return false;
        if (tag != open_.back())
            return failAt(start, "an end tag that does not match the open element");
        open_.pop_back();
        skipSpaces();
        return expect('>', "'>' expected to close the end tag");
    }

    bool characterData() {
        while (!atEnd()) {
            const unsigned char c = current();
            if (c == '<' || c == '&')
                return true;
            if (c == ']' && startsWith("]]>"))
                return fail("']]>' in text");
            if (c >= 0x20 && c < 0x80)
                ++pos_;
            else if (!advanceChar())
                return false;
        }
        return true;
    }

    // At the root's "<": the root and all it contains, with the open elements on a stack.
    bool element() {
        std::string_view tag;
        bool empty = false;
        if (!startTag(&tag, &empty))
            return false;
        if (empty)
            return true;
        open_.assign(1, tag);
        while (!open_.empty()) {
            if (atEnd())
                return fail("element not closed");
            bool read = false;
            if (current() == '&') {
                read = reference();
            } else if (current() != '<') {
                read = characterData();
            } else if (skip("</")) {
                read = endTag();
            } else if (skip("<!--")) {
                read = comment();
            } else if (skip("<![CDATA[")) {
                read = cdataSection();
            } else if (skip("<?")) {
                read = processingInstruction();
            } else if (atStartTag()) {
                read = startTag(&tag, &empty);
                if (read && !empty)
                    open_.push_back(tag);
            } else {
                read = fail("markup not allowed in content");
            }
            if (!read)
                return false;
        }
        return true;
    }

    const unsigned char* data_;
    qsizetype size_;
    EncodingLabel label_;
    qsizetype pos_ = 0;
    WellFormedness result_;
    std::vector<std::string_view> open_;
    std::vector<AttributeName> attributes_;
};

} // namespace

WellFormedness CheckWellFormed(QByteArrayView utf8, EncodingLabel label) {
    return Scanner(utf8, label).run();
}
