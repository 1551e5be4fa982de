// Locale identifiers, the user's default locale from the environment, and the conventions of
// each locale: built in for the common ones, from Qt's locale data for the rest.
#include <QLocale>
#include <QRegularExpression>
#include <QString>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "platform/com/lcid.h"
#include "platform/com/locale_format.h"

namespace {

struct KnownLocale {
    LCID lcid;
    std::string_view name;
};

// The first locale of each language is the one a bare language name stands for.
constexpr std::array kKnownLocales{
    KnownLocale{0x0409, "en-US"}, KnownLocale{0x0809, "en-GB"}, KnownLocale{0x0C09, "en-AU"},
    KnownLocale{0x1009, "en-CA"}, KnownLocale{0x1409, "en-NZ"}, KnownLocale{0x1809, "en-IE"},
    KnownLocale{0x1C09, "en-ZA"}, KnownLocale{0x4009, "en-IN"}, KnownLocale{0x0407, "de-DE"},
    KnownLocale{0x0C07, "de-AT"}, KnownLocale{0x0807, "de-CH"}, KnownLocale{0x1007, "de-LU"},
    KnownLocale{0x1407, "de-LI"}, KnownLocale{0x040C, "fr-FR"}, KnownLocale{0x080C, "fr-BE"},
    KnownLocale{0x0C0C, "fr-CA"}, KnownLocale{0x100C, "fr-CH"}, KnownLocale{0x140C, "fr-LU"},
    KnownLocale{0x0C0A, "es-ES"}, KnownLocale{0x080A, "es-MX"}, KnownLocale{0x0410, "it-IT"},
    KnownLocale{0x0810, "it-CH"}, KnownLocale{0x0413, "nl-NL"}, KnownLocale{0x0813, "nl-BE"},
    KnownLocale{0x0816, "pt-PT"}, KnownLocale{0x0416, "pt-BR"}, KnownLocale{0x041D, "sv-SE"},
    KnownLocale{0x0406, "da-DK"}, KnownLocale{0x0414, "nb-NO"}, KnownLocale{0x040B, "fi-FI"},
    KnownLocale{0x0415, "pl-PL"}, KnownLocale{0x0405, "cs-CZ"}, KnownLocale{0x040E, "hu-HU"},
    KnownLocale{0x0419, "ru-RU"}, KnownLocale{0x0408, "el-GR"}, KnownLocale{0x041F, "tr-TR"},
    KnownLocale{0x0411, "ja-JP"}, KnownLocale{0x0412, "ko-KR"}, KnownLocale{0x0804, "zh-CN"},
    KnownLocale{0x0404, "zh-TW"},
};

constexpr LCID kEnglishUs = 0x0409;

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameNoCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return Lower(x) == Lower(y); });
}

std::optional<std::string_view> NameOf(LCID lcid) {
    const WORD language = LANGIDFROMLCID(lcid);
    for (const KnownLocale& known : kKnownLocales) {
        if (known.lcid == language) {
            return known.name;
        }
    }
    return std::nullopt;
}

LCID ResolveDefault(LCID lcid) {
    const WORD language = LANGIDFROMLCID(lcid);
    return language == LOCALE_USER_DEFAULT || language == LOCALE_SYSTEM_DEFAULT ||
                   language == LOCALE_NEUTRAL
               ? GetUserDefaultLCID()
               : lcid;
}

LocaleFormat EnglishUs() {
    return {".", ",", "M/d/yyyy", "h:mm:ss tt", "AM", "PM", "True", "False"};
}

std::optional<LocaleFormat> BuiltInFormat(LCID lcid) {
    switch (LANGIDFROMLCID(lcid)) {
        case 0x0409:
            return EnglishUs();
        case LOCALE_INVARIANT:
            return LocaleFormat{".", ",", "MM/dd/yyyy", "HH:mm:ss", "AM", "PM", "True", "False"};
        case 0x0809:
            return LocaleFormat{".", ",", "dd/MM/yyyy", "HH:mm:ss", "AM", "PM", "True", "False"};
        case 0x0407:
            return LocaleFormat{",", ".", "dd.MM.yyyy", "HH:mm:ss", "", "", "Wahr", "Falsch"};
        case 0x040C:
            return LocaleFormat{",", "\u00A0", "dd/MM/yyyy", "HH:mm:ss", "", "", "Vrai", "Faux"};
        default:
            return std::nullopt;
    }
}

std::string ToUtf8(const QString& text) {
    return text.toUtf8().toStdString();
}

// Qt's short dates may have two-digit years; the platform's have four.
std::string DatePatternFromQt(const QString& qtPattern) {
    QString pattern = qtPattern;
    if (pattern.contains(QLatin1String("MMM")) || pattern.contains(QLatin1String("ddd"))) {
        return "yyyy-MM-dd";
    }
    pattern.replace(QRegularExpression(QStringLiteral("y+")), QStringLiteral("yyyy"));
    return ToUtf8(pattern);
}

// Qt's "h" is 12-hour only with an AM/PM marker, the platform's always; time zones are dropped.
std::string TimePatternFromQt(const QString& qtPattern) {
    QString pattern = qtPattern;
    pattern.remove(QLatin1Char('t')).remove(QLatin1Char('z'));
    const bool twelveHour =
        pattern.contains(QLatin1Char('A')) || pattern.contains(QLatin1Char('a'));
    if (twelveHour) {
        pattern.replace(QLatin1String("AP"), QLatin1String("tt"), Qt::CaseInsensitive);
        pattern.replace(QLatin1Char('A'), QLatin1String("tt"), Qt::CaseInsensitive);
    } else {
        pattern.replace(QLatin1Char('h'), QLatin1Char('H'));
    }
    return ToUtf8(pattern.trimmed());
}

LocaleFormat QtFormat(std::string_view name) {
    const QLocale locale(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    LocaleFormat format = EnglishUs();
    format.decimalSeparator = ToUtf8(locale.decimalPoint());
    format.groupSeparator = ToUtf8(locale.groupSeparator());
    format.shortDate = DatePatternFromQt(locale.dateFormat(QLocale::ShortFormat));
    format.longTime = TimePatternFromQt(locale.timeFormat(QLocale::LongFormat));
    format.am = ToUtf8(locale.amText());
    format.pm = ToUtf8(locale.pmText());
    return format;
}

// Qt's locale data takes a while to read, so each locale is read once.
LocaleFormat CachedQtFormat(LCID lcid, std::string_view name) {
    static std::mutex mutex;
    static std::map<LCID, LocaleFormat> cache;
    const std::lock_guard lock(mutex);
    auto found = cache.find(lcid);
    if (found == cache.end()) {
        found = cache.emplace(lcid, QtFormat(name)).first;
    }
    return found->second;
}

std::string_view EnvironmentLocale() {
    for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const char* value = std::getenv(variable);  // NOLINT(concurrency-mt-unsafe)
        if (value != nullptr && *value != '\0') {
            return value;
        }
    }
    return {};
}

}  // namespace

LCID LCIDFromLocaleName(std::string_view name) {
    name = name.substr(0, name.find_first_of(".@"));
    const std::size_t separator = name.find_first_of("_-");
    const std::string_view language = name.substr(0, separator);
    const std::string_view country =
        separator == std::string_view::npos ? std::string_view() : name.substr(separator + 1);
    if (language.empty()) {
        return 0;
    }
    for (const KnownLocale& known : kKnownLocales) {
        const std::string_view knownLanguage = known.name.substr(0, 2);
        const std::string_view knownCountry = known.name.substr(3);
        if (SameNoCase(language, knownLanguage) &&
            (country.empty() || SameNoCase(country, knownCountry))) {
            return known.lcid;
        }
    }
    return 0;
}

std::string LocaleNameFromLCID(LCID lcid) {
    const std::optional<std::string_view> name = NameOf(ResolveDefault(lcid));
    return name ? std::string(*name) : std::string();
}

LCID GetUserDefaultLCID() {
    // The name seldom changes: its number is kept until it does.
    thread_local std::string lastName;
    thread_local LCID lastLcid = 0;
    const std::string_view name = EnvironmentLocale();
    if (lastLcid == 0 || name != lastName) {
        const LCID lcid = LCIDFromLocaleName(name);
        lastName = name;
        lastLcid = lcid != 0 ? lcid : kEnglishUs;
    }
    return lastLcid;
}

LCID GetSystemDefaultLCID() {
    return GetUserDefaultLCID();
}

LocaleFormat LocaleFormatFor(LCID lcid) {
    const LCID resolved = ResolveDefault(lcid);
    if (std::optional<LocaleFormat> builtIn = BuiltInFormat(resolved)) {
        return *builtIn;
    }
    const std::optional<std::string_view> name = NameOf(resolved);
    return name ? CachedQtFormat(LANGIDFROMLCID(resolved), *name) : EnglishUs();
}
