// The JSON description of a report layout, read and written through Qt's JSON classes.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <cmath>
#include <limits>
#include <optional>

#include "tools/qorlayout/layout_json.h"
#include "tools/qorlayout/layout_names.h"

namespace {

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string S(const QString& text) {
    return text.toUtf8().toStdString();
}

// A whole number inside int32's range, or nothing.
std::optional<std::int32_t> WholeNumber(const QJsonValue& value) {
    if (!value.isDouble()) {
        return std::nullopt;
    }
    const double number = value.toDouble();
    if (number != std::trunc(number) || number < std::numeric_limits<std::int32_t>::min() ||
        number > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(number);
}

// Reads one JSON object's fields, noting each problem with where it is.
class FieldReader {
  public:
    FieldReader(const QJsonObject& object, std::string where, std::vector<std::string>& problems)
        : m_object(object), m_where(std::move(where)), m_problems(problems) {}

    void Int(const char* key, std::int32_t& value, bool required = false) {
        const QJsonValue v = Take(key, required);
        if (v.isUndefined()) {
            return;
        }
        const std::optional<std::int32_t> number = WholeNumber(v);
        if (!number) {
            Problem(key, "must be a whole number");
            return;
        }
        value = *number;
    }
    void Text(const char* key, std::string& value, bool required = false) {
        const QJsonValue v = Take(key, required);
        if (v.isUndefined()) {
            return;
        }
        if (!v.isString()) {
            Problem(key, "must be a string");
            return;
        }
        value = S(v.toString());
    }
    void Bool(const char* key, bool& value) {
        const QJsonValue v = Take(key, false);
        if (v.isUndefined()) {
            return;
        }
        if (!v.isBool()) {
            Problem(key, "must be true or false");
            return;
        }
        value = v.toBool();
    }
    void Byte(const char* key, std::uint8_t& value) {
        std::int32_t number = value;
        Int(key, number);
        if (number < 0 || number > 255) {
            Problem(key, "must be from 0 to 255");
            return;
        }
        value = static_cast<std::uint8_t>(number);
    }
    void Name(const char* key, LayoutField field, std::int32_t& value, bool required = false) {
        std::string name;
        const bool given = m_object.contains(key);
        Text(key, name, required);
        if (!given) {
            return;
        }
        if (const std::optional<std::int32_t> code = CodeOfName(field, name)) {
            value = *code;
        } else {
            Problem(key, "\"" + name + "\" is not one of " + NameList(field));
        }
    }
    // "#RRGGBB", or a whole number for a COLORREF with its high byte set.
    void Color(const char* key, std::int32_t& value) {
        const QJsonValue v = Take(key, false);
        if (v.isUndefined()) {
            return;
        }
        if (v.isDouble()) {
            const double number = v.toDouble();
            if (number != std::trunc(number) || number < 0 || number > 0xFFFFFFFF) {
                Problem(key, "must be a colour \"#RRGGBB\" or a COLORREF from 0 to 4294967295");
                return;
            }
            value = static_cast<std::int32_t>(static_cast<std::uint32_t>(number));
            return;
        }
        const QString text = v.toString();
        bool ok = text.size() == 7 && text.startsWith('#');
        const unsigned rgb = ok ? text.mid(1).toUInt(&ok, 16) : 0;
        if (!ok) {
            Problem(key, "must be a colour \"#RRGGBB\"");
            return;
        }
        value =
            static_cast<std::int32_t>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
    }
    void Rect(ReportItem& item) {
        const QJsonValue v = Take("rect", true);
        const QJsonArray box = v.toArray();
        if (v.isUndefined()) {
            return;
        }
        std::int32_t* edges[] = {&item.left, &item.top, &item.right, &item.bottom};
        if (!v.isArray() || box.size() != 4) {
            Problem("rect", "must be [left, top, right, bottom]");
            return;
        }
        for (qsizetype i = 0; i < 4; ++i) {
            const std::optional<std::int32_t> number = WholeNumber(box[i]);
            if (!number) {
                Problem("rect", "must be [left, top, right, bottom] in whole design units");
                return;
            }
            *edges[i] = *number;
        }
    }
    // Every field not taken is unknown: a misspelt name would otherwise be dropped silently.
    void Finish() {
        for (auto it = m_object.begin(); it != m_object.end(); ++it) {
            Problem(S(it.key()).c_str(), "is not a field of the description");
        }
    }

  private:
    QJsonValue Take(const char* key, bool required) {
        QJsonValue v = m_object.value(key);
        m_object.remove(key);
        if (v.isUndefined() && required) {
            Problem(key, "is missing");
        }
        return v;
    }
    void Problem(const char* key, const std::string& problem) {
        m_problems.push_back(m_where + key + ": " + problem);
    }

    QJsonObject m_object;
    std::string m_where;
    std::vector<std::string>& m_problems;
};

std::string ItemPlace(std::size_t index, const QJsonObject& object) {
    const QString name = object.value("name").toString();
    return "item " + std::to_string(index) + (name.isEmpty() ? "" : " (" + S(name) + ")") + ": ";
}

ReportItem ReadItem(const QJsonObject& object, std::size_t index,
                    std::vector<std::string>& problems) {
    ReportItem item;
    item.fontName = "Arial";
    item.editStyle = 0;
    FieldReader read(object, ItemPlace(index, object), problems);
    read.Name("section", LayoutField::Section, item.section, true);
    read.Name("kind", LayoutField::Kind, item.kind, true);
    read.Text("name", item.name);
    read.Text("text", item.text);
    read.Name("editStyle", LayoutField::EditStyle, item.editStyle);
    read.Text("checkedValue", item.checkedValue);
    read.Text("mask", item.mask);
    read.Name("justification", LayoutField::Justification, item.justification);
    read.Rect(item);
    read.Int("lineOrientation", item.lineOrientation);
    read.Color("textColor", item.textColor);
    read.Color("backColor", item.backColor);
    read.Text("font", item.fontName);
    read.Int("fontSize", item.fontSize);
    read.Bool("raised", item.raised);
    read.Bool("bold", item.bold);
    read.Bool("italic", item.italic);
    read.Bool("underline", item.underline);
    read.Text("spareText1", item.spareText1);
    read.Text("spareText2", item.spareText2);
    read.Byte("spareByte", item.spareByte);
    read.Finish();
    return item;
}

QString ColorText(std::int32_t color) {
    const auto c = static_cast<std::uint32_t>(color);
    const unsigned rgb = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    return QString("#%1").arg(rgb, 6, 16, QChar('0')).toUpper();
}

QJsonValue Color(std::int32_t color) {
    if ((static_cast<std::uint32_t>(color) & 0xFF000000U) != 0) {
        return QJsonValue(static_cast<double>(static_cast<std::uint32_t>(color)));
    }
    return ColorText(color);
}

}  // namespace

bool ReadLayoutDescription(const std::string& json, ReportLayout& layout,
                           std::vector<std::string>& problems) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(
        QByteArray(json.data(), static_cast<qsizetype>(json.size())), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        problems.push_back(document.isNull() ? "not JSON: " + S(error.errorString()) +
                                                   " at offset " + std::to_string(error.offset)
                                             : "not a JSON object");
        return false;
    }
    const std::size_t before = problems.size();
    QJsonObject top = document.object();
    const QJsonValue items = top.take("items");
    FieldReader read(top, "", problems);
    read.Int("headerEnd", layout.header.headerEnd, true);
    read.Int("footerStart", layout.header.footerStart, true);
    read.Int("footerEnd", layout.header.footerEnd, true);
    read.Text("sql", layout.header.sqlText);
    read.Finish();
    if (!items.isUndefined() && !items.isArray()) {
        problems.push_back("items: must be a list of items");
    }
    const QJsonArray list = items.toArray();
    for (qsizetype i = 0; i < list.size(); ++i) {
        const auto index = static_cast<std::size_t>(i) + 1;
        if (!list[i].isObject()) {
            problems.push_back("item " + std::to_string(index) + ": must be an object");
            continue;
        }
        layout.items.push_back(ReadItem(list[i].toObject(), index, problems));
    }
    return problems.size() == before;
}

bool WriteLayoutDescription(const ReportLayout& layout, std::string& json,
                            std::vector<std::string>& problems,
                            std::vector<std::string>& warnings) {
    QJsonObject top;
    top.insert("headerEnd", layout.header.headerEnd);
    top.insert("footerStart", layout.header.footerStart);
    top.insert("footerEnd", layout.header.footerEnd);
    top.insert("sql", Q(layout.header.sqlText));
    QJsonArray items;
    const std::size_t before = problems.size();
    for (std::size_t i = 0; i < layout.items.size(); ++i) {
        const ReportItem& item = layout.items[i];
        const std::string where =
            "item " + std::to_string(i + 1) + (item.name.empty() ? "" : " (" + item.name + ")");
        const auto named = [&](LayoutField field, const char* key, std::int32_t code) -> QString {
            bool exact = true;
            const std::optional<std::string_view> name = NameOfCode(field, code, exact);
            if (!name) {
                problems.push_back(where + ": " + key + ": " + std::to_string(code) +
                                   " has no name; it is one of " + NameList(field));
                return {};
            }
            if (!exact) {
                warnings.push_back(where + ": " + key + ": " + std::to_string(code) +
                                   " is written as \"" + std::string(*name) +
                                   "\", which compiles to another code");
            }
            return Q(*name);
        };
        QJsonObject object;
        object.insert("section", named(LayoutField::Section, "section", item.section));
        object.insert("kind", named(LayoutField::Kind, "kind", item.kind));
        object.insert("name", Q(item.name));
        object.insert("text", Q(item.text));
        object.insert("editStyle", named(LayoutField::EditStyle, "editStyle", item.editStyle));
        object.insert("checkedValue", Q(item.checkedValue));
        object.insert("mask", Q(item.mask));
        object.insert("justification",
                      named(LayoutField::Justification, "justification", item.justification));
        object.insert("rect", QJsonArray{item.left, item.top, item.right, item.bottom});
        object.insert("lineOrientation", item.lineOrientation);
        object.insert("textColor", Color(item.textColor));
        object.insert("backColor", Color(item.backColor));
        object.insert("font", Q(item.fontName));
        object.insert("fontSize", item.fontSize);
        object.insert("raised", item.raised);
        object.insert("bold", item.bold);
        object.insert("italic", item.italic);
        object.insert("underline", item.underline);
        if (!item.spareText1.empty()) {
            object.insert("spareText1", Q(item.spareText1));
        }
        if (!item.spareText2.empty()) {
            object.insert("spareText2", Q(item.spareText2));
        }
        if (item.spareByte != 0) {
            object.insert("spareByte", item.spareByte);
        }
        items.append(object);
    }
    top.insert("items", items);
    json = S(QString::fromUtf8(QJsonDocument(top).toJson(QJsonDocument::Indented)));
    return problems.size() == before;
}
