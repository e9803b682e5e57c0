// velmora-cli ticket: a ticket with its conditions described on the command line, set through
// the same editor rules as the conditions dialog, and saved as a number-row file.

#include "cli/ticket_command.h"

#include <algorithm>
#include <cmath>
#include <ostream>
#include <sstream>

#include "common/clock.h"
#include "common/file_io.h"
#include "common/hu_format.h"
#include "common/random_source.h"
#include "conditions/condition_table.h"
#include "session/session.h"

namespace velmora::cli {

namespace {

const SystemClock kClock;

// The condition's name on the command line: its key with dashes, "decade-even-odd".
std::string ConditionName(const ConditionInfo& info) {
    std::string name = info.key;
    std::replace(name.begin(), name.end(), ' ', '-');
    std::replace(name.begin(), name.end(), '/', '-');
    return name;
}

// "1-20,25" into numbers in the order given; false (after the message) for anything else.
bool ParseNumberList(const std::string& text, int maxNumber, std::vector<std::uint8_t>& numbers,
                     std::ostream& err) {
    std::istringstream parts(text);
    for (std::string part; std::getline(parts, part, ',');) {
        const std::size_t dash = part.find('-', 1);
        long long first = 0;
        long long last = 0;
        bool ok = false;
        if (dash == std::string::npos) {
            ok = ParseInteger(part, first);
            last = first;
        } else {
            ok = ParseInteger(part.substr(0, dash), first) &&
                 ParseInteger(part.substr(dash + 1), last);
        }
        if (!ok || first < 1 || last > maxNumber || first > last) {
            err << "not a number or range of 1.." << maxNumber << ": " << part << "\n";
            return false;
        }
        for (long long n = first; n <= last; ++n) {
            numbers.push_back(static_cast<std::uint8_t>(n));
        }
    }
    return true;
}

// A condition's field named on the command line: "sum.min", "number-groups.2.first".
struct FieldName {
    const ConditionInfo* condition = nullptr;
    const ConditionField* field = nullptr; // null: the condition itself ("sum=on") or a slot
    int slot = -1;                         // number groups: 0..9
    SlotField slotField = SlotField::First;
};

bool FindField(const std::string& name, FieldName& found) {
    const std::size_t dot = name.find('.');
    const std::string conditionName = name.substr(0, dot);
    const std::string rest = dot == std::string::npos ? "" : name.substr(dot + 1);
    for (const ConditionInfo& info : ConditionTable()) {
        if (ConditionName(info) != conditionName) {
            continue;
        }
        found.condition = &info;
        if (rest.empty()) {
            return dot == std::string::npos;
        }
        for (const ConditionField& field : info.fields) {
            if (rest == field.name) {
                found.field = &field;
                return true;
            }
        }
        // The number groups' slots: "2.first", "2.last", "2.min", "2.max".
        const std::size_t slotDot = rest.find('.');
        long long slot = 0;
        if (info.id != Condition::NumberGroups || slotDot == std::string::npos ||
            !ParseInteger(rest.substr(0, slotDot), slot) || slot < 1 || slot > kMaxNumberGroups) {
            return false;
        }
        found.slot = static_cast<int>(slot) - 1;
        const std::string part = rest.substr(slotDot + 1);
        const std::pair<const char*, SlotField> parts[] = {{"first", SlotField::First},
                                                           {"last", SlotField::Last},
                                                           {"min", SlotField::MinHits},
                                                           {"max", SlotField::MaxHits}};
        for (const auto& [text, id] : parts) {
            if (part == text) {
                found.slotField = id;
                return true;
            }
        }
        return false;
    }
    return false;
}

// The range message of the editor for a value outside its limits; false.
bool OutOfRange(Messages& messages, const std::string& name, const std::string& low,
                const std::string& high) {
    messages.RangeError(name, low, high);
    return false;
}

bool InRange(Messages& messages, const std::string& name, long long value, IntRange limits) {
    if (value < limits.minimum || value > limits.maximum) {
        return OutOfRange(messages, name, std::to_string(limits.minimum),
                          std::to_string(limits.maximum));
    }
    return true;
}

// A flag through the editor's choice rule for it; false when the editor refused it.
bool SetFlag(ConditionEditor& editor, const ConditionInfo& info, const ConditionField& field,
             bool on) {
    const std::string name = field.name;
    switch (info.id) {
    case Condition::DecadeParity:
    case Condition::EndingParity:
        return name == "fixed" ? editor.SetParityRatio(info.id, on)
                               : editor.SetParityKind(info.id, on);
    case Condition::DecadeRepeat:
    case Condition::EndingRepeat:
        return editor.SetRepeatChoice(info.id, on) == on;
    case Condition::HitRatio:
        if (name == "searched") {
            editor.SetHitRatioSearched(on);
            return true;
        }
        return editor.SetHitRatioFromDraws(on);
    case Condition::Sum:
        editor.SetSumFixed(on);
        return true;
    default:
        return false;
    }
}

// Sets one "FIELD=VALUE": the condition is selected first (as a click on its box), then the
// value goes through the editor. False after the editor's or the tool's message.
bool ApplySetting(Session& session, const std::string& setting, std::ostream& err) {
    Messages& messages = session.GetMessages();
    const std::size_t equals = setting.find('=');
    FieldName name;
    if (equals == std::string::npos || !FindField(setting.substr(0, equals), name)) {
        err << "not a FIELD=VALUE of \"velmora-cli ticket --fields\": " << setting << "\n";
        return false;
    }
    const std::string text = setting.substr(equals + 1);
    ConditionEditor& editor = session.Editor();
    const Condition condition = name.condition->id;
    if (!IsActive(session.Conditions(), condition) && !editor.SetActive(condition, true)) {
        return false; // the editor said why
    }
    if (name.field == nullptr && name.slot < 0) {
        if (text != "on") {
            err << "a condition alone takes \"on\": " << setting << "\n";
            return false;
        }
        return true;
    }
    const std::string fieldName = setting.substr(0, equals);
    if (name.field != nullptr && name.field->type == FieldType::Real) {
        double value = 0;
        const RealRange limits = editor.DeviationLimits();
        if (!ParseReal(text, value) || value < limits.minimum || value > limits.maximum) {
            return OutOfRange(messages, fieldName, FormatReal(limits.minimum),
                              FormatReal(limits.maximum));
        }
        if (std::string(name.field->name) == "min") {
            editor.SetDeviationMinimum(value);
        } else {
            editor.SetDeviationMaximum(value);
        }
        return true;
    }
    long long value = 0;
    if (!ParseInteger(text, value)) {
        err << "not a whole number: " << setting << "\n";
        return false;
    }
    if (name.slot >= 0) {
        const IntRange limits = editor.SlotLimits(name.slot, name.slotField);
        if (name.slot >= session.Conditions().numberGroups.count) {
            err << "set number-groups.count to at least " << name.slot + 1 << " first\n";
            return false;
        }
        return InRange(messages, fieldName, value, limits) &&
               (editor.SetSlotValue(name.slot, name.slotField, static_cast<int>(value)), true);
    }
    const ConditionField& field = *name.field;
    if (field.type == FieldType::Flag) {
        if (value != 0 && value != 1) {
            return InRange(messages, fieldName, value, {0, 1});
        }
        return SetFlag(editor, *name.condition, field, value == 1);
    }
    if (field.id == Field::None) { // the hit ratio's draws
        HitRatioCondition& ratio = session.Conditions().hitRatio;
        const bool first = std::string(field.name) == "first-draw";
        const IntRange limits{1, std::max(1, editor.Context().drawCount)};
        if (!InRange(messages, fieldName, value, limits)) {
            return false;
        }
        editor.SetHitRatioDraws(first ? static_cast<int>(value) : ratio.firstDraw,
                                first ? ratio.lastDraw : static_cast<int>(value));
        return true;
    }
    // The typed fields report under the dialog's own title.
    const std::string title = *RangeTitle(field.id) != '\0' ? RangeTitle(field.id) : fieldName;
    return InRange(messages, title, value, editor.Limits(field.id)) &&
           (editor.SetValue(field.id, static_cast<int>(value)), true);
}

// Marks one list of numbers; false when the ticket refused one of them (it said why, or the
// tool says it).
bool MarkNumbers(Session& session, const std::vector<std::uint8_t>& numbers, MarkKind kind,
                 const std::vector<std::uint8_t>& (MainTicket::*marked)() const,
                 std::ostream& err) {
    for (std::uint8_t n : numbers) {
        const std::size_t before = (session.Ticket().*marked)().size();
        session.ClickNumber(n, kind);
        if ((session.Ticket().*marked)().size() != before + 1) {
            err << "the ticket does not take " << static_cast<int>(n) << " here\n";
            return false;
        }
    }
    return true;
}

// The ticket's marks from --numbers, --fixed and --constant, each number once.
bool MarkTicket(const Invocation& invocation, Session& session) {
    std::ostream& err = *invocation.err;
    const int maxNumber = session.Game().maxNumber;
    // A list given again goes on where the first one ended.
    const auto parse = [&](const char* option, std::vector<std::uint8_t>& list) {
        for (const std::string& text : invocation.Values(option)) {
            if (!ParseNumberList(text, maxNumber, list, err)) {
                return false;
            }
        }
        return true;
    };
    std::vector<std::uint8_t> numbers;
    std::vector<std::uint8_t> fixed;
    std::vector<std::uint8_t> constant;
    if (!parse("--numbers", numbers) || !parse("--fixed", fixed) ||
        !parse("--constant", constant)) {
        return false;
    }
    std::vector<std::uint8_t> all = numbers;
    all.insert(all.end(), fixed.begin(), fixed.end());
    all.insert(all.end(), constant.begin(), constant.end());
    std::sort(all.begin(), all.end());
    const auto twice = std::adjacent_find(all.begin(), all.end());
    if (twice != all.end()) {
        err << "number " << static_cast<int>(*twice) << " is given twice\n";
        return false;
    }
    return MarkNumbers(session, numbers, MarkKind::Variation, &MainTicket::Selected, err) &&
           MarkNumbers(session, fixed, MarkKind::Fixed, &MainTicket::Fixed, err) &&
           MarkNumbers(session, constant, MarkKind::Constant, &MainTicket::Constant, err);
}

// The limits of one field as --fields prints them.
std::string LimitsText(ConditionEditor& editor, const ConditionField& field) {
    if (field.type == FieldType::Flag) {
        return "0..1";
    }
    if (field.type == FieldType::Real) {
        const RealRange limits = editor.DeviationLimits();
        return FormatReal(limits.minimum) + ".." + FormatReal(limits.maximum);
    }
    const IntRange limits = field.id == Field::None
                                ? IntRange{1, std::max(1, editor.Context().drawCount)}
                                : editor.Limits(field.id);
    return std::to_string(limits.minimum) + ".." + std::to_string(limits.maximum);
}

// Every field with its limits for the marked numbers, each condition selected with its
// defaults as a click on its box would; a condition that cannot apply says so.
void ListFields(Session& session, std::ostream& out) {
    ConditionEditor& editor = session.Editor();
    out << "# the limits under each condition's defaults; a field's limits follow the fields "
           "set before it\n";
    out << "error-points " << editor.Limits(Field::ErrorPoints).minimum << ".."
        << editor.Limits(Field::ErrorPoints).maximum << "\n";
    for (const ConditionInfo& info : ConditionTable()) {
        const std::string name = ConditionName(info);
        if (!editor.SetActive(info.id, true)) {
            out << name << " (cannot apply to these numbers)\n";
            continue;
        }
        for (const ConditionField& field : info.fields) {
            out << name << "." << field.name << " " << LimitsText(editor, field) << "\n";
        }
        if (info.id == Condition::NumberGroups) {
            out << name << ".N.first|last|min|max (N = 1..count) as the slot allows\n";
        }
        editor.SetActive(info.id, false);
    }
}

} // namespace

int Ticket(Invocation& invocation) {
    std::ostream& err = *invocation.err;
    long long game = 0;
    if (!ParseInteger(invocation.Value("--game"), game) || game < 0 || game >= kGameCount) {
        err << "--game takes a game number 0.." << kGameCount - 1 << "\n";
        return kExitUsage;
    }
    const bool listing = invocation.Has("--fields");
    const std::string out = invocation.Value("--out");
    if (!listing && out.empty()) {
        err << "ticket needs --out T.tip (or --fields)\n";
        return kExitUsage;
    }
    if (!listing && (LowerExtension(out) != "tip" || !CanReplaceFile(out))) {
        err << "cannot write " << out << " (a .tip file in a writable folder)\n";
        return kExitFailed;
    }
    // The questions of a click (the sum's adjacency question, the notices) are answered as
    // --yes says; --fields answers Yes, silently, to see every condition's limits.
    std::ostream nowhere(nullptr);
    TerminalMessages quiet(nowhere, true);
    SeededRandom random(1);
    Session session(invocation.folders, listing ? quiet : *invocation.messages, random, kClock);
    session.ApplyGame(static_cast<GameId>(game));
    session.LoadDraws();
    if (!MarkTicket(invocation, session)) {
        return kExitFailed;
    }
    if (listing) {
        ListFields(session, *invocation.out);
        return kExitOk;
    }
    ConditionEditor& editor = session.Editor();
    if (invocation.Has("--error-points")) {
        long long points = 0;
        if (!ParseInteger(invocation.Value("--error-points"), points) ||
            !InRange(session.GetMessages(), "Hibapont", points,
                     editor.Limits(Field::ErrorPoints))) {
            return kExitFailed;
        }
        editor.SetValue(Field::ErrorPoints, static_cast<int>(points));
    }
    for (const std::string& setting : invocation.Values("--set")) {
        if (!ApplySetting(session, setting, err)) {
            return kExitFailed;
        }
    }
    if (invocation.Has("--optimised") && !editor.SetOptimised(true)) {
        err << "--optimised needs at least 2 error points\n";
        return kExitFailed;
    }
    // The dialog closes only on these terms.
    if (!editor.OsszegEll()) {
        return kExitFailed;
    }
    editor.FeltJelzoBeallitas();
    editor.Close();
    if (!session.SaveNumberRow(out)) {
        return kExitFailed;
    }
    *invocation.out << "numbers: " << session.Ticket().Selected().size()
                    << "  fixed: " << session.Ticket().Fixed().size()
                    << "  error points: " << session.Conditions().errorPoints << "  file: " << out
                    << "\n";
    return kExitOk;
}

} // namespace velmora::cli
