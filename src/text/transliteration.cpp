#include "text/transliteration.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "text/letter_case.h"

namespace qv {

namespace {

// A way to write some letters of a name: the Latin text and how many name letters it stands for.
struct Spelling {
    std::u16string_view text;
    int letters = 1;
};

class SpellingList {
  public:
    void Add(std::u16string_view text, int letters = 1) {
        if (count_ < items_.size()) {
            items_[count_++] = {text, letters};
        }
    }
    void Add(std::initializer_list<std::u16string_view> texts) {
        for (const std::u16string_view text : texts) {
            Add(text);
        }
    }
    const Spelling* begin() const { return items_.data(); }
    const Spelling* end() const { return items_.data() + count_; }

  private:
    std::array<Spelling, 12> items_{};
    std::size_t count_ = 0;
};

// Lower case with Ё kept apart from Е, since the two are spelt differently.
char16_t NameLetter(char16_t unit) {
    return unit == u'Ё' || unit == u'ё' ? u'ё' : FoldedLetter(unit);
}

bool IsVowel(char16_t letter) {
    return std::u16string_view(u"аеёиоуыэюяіїє").find(letter) != std::u16string_view::npos;
}

bool IsEastSlavicLetter(char16_t letter) {
    return std::u16string_view(u"іїєґў").find(letter) != std::u16string_view::npos;
}

bool IsWordEnd(std::u16string_view name, std::size_t next) {
    return next >= name.size() || name[next] == u' ' || name[next] == u'-';
}

void AddSpellings(std::u16string_view name, std::size_t at, bool eastSlavic, SpellingList& list) {
    const char16_t letter = NameLetter(name[at]);
    const char16_t next = at + 1 < name.size() ? NameLetter(name[at + 1]) : u'\0';
    switch (letter) {
        case u'а':
            list.Add({u"a"});
            break;
        case u'б':
            list.Add({u"b"});
            break;
        case u'в':
            list.Add({u"v", u"w"});
            break;
        case u'г':
            list.Add({u"g", u"gh"});
            // Ukrainian and Belarusian г is an h.
            if (eastSlavic) {
                list.Add(u"h");
            }
            break;
        case u'д':
            list.Add({u"d"});
            break;
        case u'е':
            list.Add({u"e", u"ye", u"je", u"ie", u"yo", u"jo"});
            break;
        case u'ё':
            list.Add({u"e", u"yo", u"jo", u"io", u"ye", u"je", u"o"});
            break;
        case u'ж':
            list.Add({u"zh"});
            break;
        case u'з':
            list.Add({u"z"});
            break;
        case u'и':
            list.Add({u"i", u"y"});
            break;
        case u'й':
            list.Add({u"y", u"i", u"j"});
            // "-skiy", "-sky" and "-ski" alike.
            if (IsWordEnd(name, at + 1)) {
                list.Add(u"");
            }
            break;
        case u'к':
            list.Add({u"k"});
            if (next == u'с') {
                list.Add(u"x", 2);
            }
            break;
        case u'л':
            list.Add({u"l"});
            break;
        case u'м':
            list.Add({u"m"});
            break;
        case u'н':
            list.Add({u"n"});
            break;
        case u'о':
            list.Add({u"o"});
            break;
        case u'п':
            list.Add({u"p"});
            break;
        case u'р':
            list.Add({u"r"});
            break;
        case u'с':
            list.Add({u"s"});
            break;
        case u'т':
            list.Add({u"t"});
            break;
        case u'у':
            list.Add({u"u", u"ou"});
            break;
        case u'ф':
            list.Add({u"f", u"ph"});
            break;
        case u'х':
            list.Add({u"kh", u"h", u"x"});
            break;
        case u'ц':
            list.Add({u"ts", u"c", u"tz", u"tc"});
            break;
        case u'ч':
            list.Add({u"ch", u"tch"});
            break;
        case u'ш':
            list.Add({u"sh"});
            break;
        case u'щ':
            list.Add({u"shch", u"sch", u"sh", u"shh"});
            break;
        case u'ъ':
            list.Add({u"", u"'", u"\""});
            break;
        case u'ы':
            list.Add({u"y", u"i"});
            break;
        case u'ь':
            list.Add({u"", u"'"});
            // "Maryino" for Марьино.
            if (IsVowel(next)) {
                list.Add({u"y", u"j", u"i"});
            }
            break;
        case u'э':
            list.Add({u"e", u"eh"});
            break;
        case u'ю':
            list.Add({u"yu", u"ju", u"iu", u"u"});
            break;
        case u'я':
            list.Add({u"ya", u"ja", u"ia"});
            break;
        case u'і':
            list.Add({u"i"});
            break;
        case u'ї':
            list.Add({u"yi", u"ji", u"i", u"ii"});
            break;
        case u'є':
            list.Add({u"ye", u"je", u"ie", u"e"});
            break;
        case u'ґ':
            list.Add({u"g"});
            break;
        case u'ў':
            list.Add({u"w", u"u"});
            break;
        case u' ':
        case u'-':
            list.Add({u" ", u"-", u""});
            break;
        default:
            break;
    }
}

bool StartsWith(std::u16string_view text, std::u16string_view start) {
    return text.substr(0, start.size()) == start;
}

}  // namespace

bool SpellsPrefixOf(std::u16string_view latin, std::u16string_view name) {
    std::u16string typed(latin);
    std::transform(typed.begin(), typed.end(), typed.begin(), FoldedLetter);
    const bool eastSlavic = std::any_of(name.begin(), name.end(), [](char16_t unit) {
        return IsEastSlavicLetter(NameLetter(unit));
    });
    const std::size_t n = typed.size();
    const std::size_t m = name.size();
    // reached[j * (n + 1) + p]: the first j letters of the name can be spelt by the first p
    // characters of the text.
    std::vector<std::uint8_t> reached((m + 1) * (n + 1), 0);
    const auto mark = [&](std::size_t j, std::size_t p) { reached[j * (n + 1) + p] = 1; };
    mark(0, 0);
    std::size_t furthest = 0;
    for (std::size_t j = 0; j <= furthest && j <= m; ++j) {
        for (std::size_t p = 0; p <= n; ++p) {
            if (!reached[j * (n + 1) + p]) {
                continue;
            }
            if (p == n) {
                return true;
            }
            if (j == m) {
                continue;
            }
            const std::u16string_view rest = std::u16string_view(typed).substr(p);
            if (rest.front() == FoldedLetter(name[j])) {
                mark(j + 1, p + 1);
                furthest = std::max(furthest, j + 1);
            }
            SpellingList spellings;
            AddSpellings(name, j, eastSlavic, spellings);
            for (const Spelling& spelling : spellings) {
                if (StartsWith(rest, spelling.text)) {
                    const std::size_t to =
                        std::min(m, j + static_cast<std::size_t>(spelling.letters));
                    mark(to, p + spelling.text.size());
                    furthest = std::max(furthest, to);
                } else if (StartsWith(spelling.text, rest)) {
                    return true;
                }
            }
        }
    }
    return false;
}

std::u16string CyrillicReading(std::u16string_view latin) {
    struct Token {
        std::u16string_view latin;
        std::u16string_view cyrillic;
        bool afterVowelOnly = false;
    };
    // Longest first, so that "shch" is read before "sh" and "s".
    static constexpr Token kTokens[] = {
        {u"shch", u"щ"}, {u"sch", u"щ"}, {u"zh", u"ж"},       {u"kh", u"х"},       {u"ts", u"ц"},
        {u"tz", u"ц"},   {u"ch", u"ч"},  {u"sh", u"ш"},       {u"ph", u"ф"},       {u"yu", u"ю"},
        {u"ju", u"ю"},   {u"ya", u"я"},  {u"ja", u"я"},       {u"yo", u"ё"},       {u"jo", u"ё"},
        {u"ye", u"е"},   {u"je", u"е"},  {u"iu", u"ю", true}, {u"ia", u"я", true}, {u"a", u"а"},
        {u"b", u"б"},    {u"c", u"ц"},   {u"d", u"д"},        {u"e", u"е"},        {u"f", u"ф"},
        {u"g", u"г"},    {u"h", u"х"},   {u"i", u"и"},        {u"j", u"й"},        {u"k", u"к"},
        {u"l", u"л"},    {u"m", u"м"},   {u"n", u"н"},        {u"o", u"о"},        {u"p", u"п"},
        {u"q", u"к"},    {u"r", u"р"},   {u"s", u"с"},        {u"t", u"т"},        {u"u", u"у"},
        {u"v", u"в"},    {u"w", u"в"},   {u"x", u"кс"},       {u"z", u"з"},        {u"'", u"ь"},
    };
    std::u16string text(latin);
    std::transform(text.begin(), text.end(), text.begin(), FoldedLetter);
    std::u16string reading;
    const auto afterVowel = [&reading] {
        return reading.empty() || !IsCyrillicLetter(reading.back()) || IsVowel(reading.back());
    };
    std::size_t at = 0;
    while (at < text.size()) {
        const std::u16string_view rest = std::u16string_view(text).substr(at);
        if (rest.front() == u'y') {
            // й after a vowel ("-oy"), ы after a consonant.
            if (rest.size() < 2 ||
                std::u16string_view(u"aeou").find(rest[1]) == std::u16string_view::npos) {
                reading += afterVowel() && !reading.empty() ? u'й' : u'ы';
                ++at;
                continue;
            }
        }
        const Token* token =
            std::find_if(std::begin(kTokens), std::end(kTokens), [&](const Token& t) {
                return StartsWith(rest, t.latin) && (!t.afterVowelOnly || afterVowel());
            });
        if (token == std::end(kTokens)) {
            reading += rest.front();
            ++at;
            continue;
        }
        reading += token->cyrillic;
        at += token->latin.size();
    }
    return reading;
}

}  // namespace qv
