#include "work_order.h"

#include <algorithm>
#include <string>
#include <vector>

#include "field_numbers.h"
#include "round_wire.h"

namespace tremira::calc {
namespace {

std::string whole(int value) { return FormatDouble(value); }

std::string wireText(const WireToBuy &wire) { return "провод " + WireText(wire.wire); }

std::string windingIText(const WindingPlan &plan) {
    std::string text = "Обмотку I мотают на стержень слоями от стержня наружу; её начало — внутренний вывод";
    if (!plan.wireI.known()) return text + ".";
    const WireToBuy &first = plan.wireI.value();
    text += ". Витки 1–" + whole(first.turns) + ": " + wireText(first);
    if (plan.wireIOuter.known()) {
        const WireToBuy &second = plan.wireIOuter.value();
        text += ", витки " + whole(first.turns + 1) + "–" + whole(first.turns + second.turns) + ": " + wireText(second);
    }
    return text + ".";
}

// Every lead of winding I past its start: the taps, the end of the design's own mains and the
// turn of the second mains voltage, in turn order.
std::vector<int> leadTurnsOf(const WindingPlan &plan) {
    std::vector<int> turns;
    if (plan.taps.known()) {
        for (const Tap &tap : plan.taps.value().taps()) turns.insert(turns.begin(), tap.turns);
    }
    if (plan.secondMains.known()) {
        const int second = plan.secondMains.value().turns;
        const auto at = std::ranges::lower_bound(turns, second);
        if (at == turns.end() || *at != second) turns.insert(at, second);
    }
    return turns;
}

std::string leadsText(const WindingPlan &plan) {
    const std::vector<int> turns = leadTurnsOf(plan);
    if (turns.empty()) return "Конец обмотки I выводят наружу; оба вывода — к сети.";
    std::string list;
    for (const int turn : turns) list += (list.empty() ? "" : ", ") + whole(turn);
    return "Выводы делают петлёй, не разрезая провод, после витков " + list +
           " (схема соединений); каждый вывод подписывают числом витков.";
}

std::string windingIIText(const WindingPlan &plan) {
    std::string text = "Обмотку II мотают поверх изоляции";
    if (plan.wireII.known()) {
        const WireToBuy &wire = plan.wireII.value();
        text += ": " + whole(wire.turns) + " вит., " + wireText(wire);
        if (wire.wire.strands > 1) text += ", жилы кладут рядом и мотают как один провод";
    }
    return text + "; её выводы — к держаку и к клемме массы.";
}

}  // namespace

FigureSection WorkOrderOf(const WindingPlan &plan) {
    const std::string steps[] = {
        windingIText(plan),
        leadsText(plan),
        "Между обмотками I и II кладут усиленную изоляцию: она отделяет сеть от сварочной цепи; выводы обмотки I "
        "изолируют трубкой до клеммной колодки.",
        windingIIText(plan),
        "Сердечник и металлический корпус соединяют с защитным заземлением (PE) сети.",
    };
    FigureSection section{"workOrder", "Порядок работы", {}, {}};
    int number = 0;
    for (const std::string &step : steps) {
        section.rows.push_back(TextRow({"workStep", {}, {}, {}, 0, Shown::Note}, whole(++number) + ". " + step));
    }
    return section;
}

}  // namespace tremira::calc
