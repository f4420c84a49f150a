#include "frame/LineWidths.h"

#include <algorithm>

#include "core/key/KeyFiles.h"
#include "core/platform/Text.h"
#include "core/session/Modes.h"
#include "core/session/OpenKey.h"
#include "core/session/Session.h"

namespace vorn {
namespace {

constexpr size_t kMostFonts = 8;

int Measure(const QFontMetrics& metrics, const std::string& keyText) {
    return metrics.horizontalAdvance(QString::fromStdString(KeyTextToUtf8(keyText)));
}

int32_t ItemsOfKind(uint8_t kind) {
    return kind == TIndicatorObj::IndicState ? CurrentSession().Key.StateCount
                                             : CurrentSession().Key.TaxonCount;
}

}  // namespace

int LineWidths::CodeCellWidth(const QFontMetrics& metrics) {
    int widest = 0;
    for (QChar code : QStringLiteral("?+-*"))
        widest = std::max(widest, metrics.horizontalAdvance(code));
    return widest;
}

int LineWidths::CodesLeadWidth(const QFontMetrics& metrics) {
    return 2 * (CodeCellWidth(metrics) + metrics.horizontalAdvance(QLatin1Char(' ')));
}

size_t LineWidths::NumberBytes(const std::string& body) {
    if (!CurrentSession().NumberMode) return 0;
    size_t digits = 0;
    while (digits < body.size() && body[digits] >= '0' && body[digits] <= '9')
        ++digits;
    return digits > 0 && digits < body.size() && body[digits] == '.' ? digits + 1 : 0;
}

int LineWidths::NumberCellWidth(const QFontMetrics& metrics, uint8_t kind) {
    int widestDigit = 0;
    for (QChar digit : QStringLiteral("0123456789"))
        widestDigit = std::max(widestDigit, metrics.horizontalAdvance(digit));
    int digits = static_cast<int>(std::to_string(std::max(ItemsOfKind(kind), 1)).size());
    return digits * widestDigit + metrics.horizontalAdvance(QLatin1Char('.'));
}

LineWidths::FontWidths& LineWidths::For(const QFont& font) {
    Stamp now{CurrentSession().NumberMode, static_cast<int>(CurrentSession().NameMode),
              CurrentSession().KeysOpened};
    if (now != stamp_) {
        fonts_.clear();
        stamp_ = now;
    }
    for (const std::unique_ptr<FontWidths>& widths : fonts_) {
        if (widths->Font == font) {
            // Lists set equal fonts of their own: sharing the caller's makes its next
            // comparison a pointer comparison.
            widths->Font = font;
            return *widths;
        }
    }
    if (fonts_.size() >= kMostFonts) fonts_.clear();
    return *fonts_.emplace_back(std::make_unique<FontWidths>(font));
}

LineWidths::Body LineWidths::BodyOf(const QFont& font, const IndicatorRow& row) {
    FontWidths& widths = For(font);
    bool cacheable = row.Kind <= TIndicatorObj::IndicState && row.Index >= 0 &&
                     row.Index < ItemsOfKind(row.Kind);
    auto index = static_cast<size_t>(row.Index);
    std::vector<Body>* bodies = cacheable ? &widths.Bodies[row.Kind] : nullptr;
    if (bodies && index < bodies->size() && (*bodies)[index].Width >= 0) return (*bodies)[index];

    TIndicatorObj indicator = TIndicatorObj::Read(row);
    std::string text = IndicBody(indicator);
    size_t number = NumberBytes(text);
    int width = number > 0 ? NumberCellWidth(widths.Metrics, row.Kind) +
                                 Measure(widths.Metrics, text.substr(number))
                           : Measure(widths.Metrics, text);
    Body body{width, indicator.Linked()};
    ++bodiesMeasured_;
    if (bodies) {
        // Sized for the open key; a table of another size is of another key.
        auto items = static_cast<size_t>(ItemsOfKind(row.Kind));
        if (bodies->size() != items) bodies->assign(items, Body{});
        (*bodies)[index] = body;
    }
    return body;
}

int LineWidths::PrefixWidth(const QFont& font, const IndicatorRow& row, bool linked,
                            const IndicNumbers& numbers) {
    FontWidths& widths = For(font);
    uint64_t key = IndicPrefixKey(row, linked, numbers);
    if (key == widths.LastPrefix) return widths.LastPrefixWidth;
    auto found = widths.Prefixes.find(key);
    if (found == widths.Prefixes.end()) {
        std::string prefix = IndicPrefix(row, linked, numbers);
        int width = HasCodesLead(row) && prefix.size() >= kCodesLeadBytes
                        ? CodesLeadWidth(widths.Metrics) +
                              Measure(widths.Metrics, prefix.substr(kCodesLeadBytes))
                        : Measure(widths.Metrics, prefix);
        found = widths.Prefixes.emplace(key, width).first;
    }
    widths.LastPrefix = key;
    widths.LastPrefixWidth = found->second;
    return found->second;
}

}  // namespace vorn
