#include "work_order.h"

#include <string>
#include <vector>

#include "field_numbers.h"
#include "round_wire.h"

namespace tremira::calc {
namespace {

std::string wireText(const WireToBuy &wire) { return "провод " + WireText(wire.wire); }

std::string windingIText(const WindingPlan &plan) {
    std::string text = "Обмотку I мотают на стержень слоями от стержня наружу; её начало — внутренний вывод";
    if (!plan.wireI.known()) return text + ".";
    const WireToBuy &first = plan.wireI.value();
    text += ". Витки 1–" + FormatDouble(first.turns) + ": " + wireText(first);
    if (plan.wireIOuter.known()) {
        const WireToBuy &second = plan.wireIOuter.value();
        text += ", витки " + FormatDouble(first.turns + 1) + "–" + FormatDouble(first.turns + second.turns) + ": " +
                wireText(second);
    }
    return text + ".";
}

// Every lead of winding I past its start, as the connection diagram has them: the taps, the end
// of each mains voltage, in turn order; a winding with its end alone has nothing to mark.
std::string leadsText(const Figure<Connections> &connections) {
    const std::size_t leads = connections.known() ? connections.value().leads.size() : 0;
    if (leads <= 2) return "Конец обмотки I выводят наружу; оба вывода — к сети.";
    std::string list;
    for (const LeadI &lead : connections.value().leads) {
        if (lead.turns > 0) list += (list.empty() ? "" : ", ") + FormatDouble(lead.turns);
    }
    return "Выводы делают петлёй, не разрезая провод, после витков " + list +
           " (схема соединений); каждый вывод подписывают числом витков.";
}

std::string windingIIText(const WindingPlan &plan) {
    std::string text = "Обмотку II мотают поверх изоляции";
    if (plan.wireII.known()) {
        const WireToBuy &wire = plan.wireII.value();
        text += ": " + FormatDouble(wire.turns) + " вит., " + wireText(wire);
        if (wire.wire.strands > 1) text += ", жилы кладут рядом и мотают как один провод";
    }
    return text + "; её выводы — к держаку и к клемме массы.";
}

}  // namespace

FigureSection WorkOrderOf(const WindingPlan &plan, const Figure<Connections> &connections) {
    const std::string steps[] = {
        windingIText(plan),
        leadsText(connections),
        "Между обмотками I и II кладут усиленную изоляцию: она отделяет сеть от сварочной цепи; выводы обмотки I "
        "изолируют трубкой до клеммной колодки.",
        windingIIText(plan),
        "Сердечник и металлический корпус соединяют с защитным заземлением (PE) сети.",
    };
    FigureSection section{"workOrder", "Порядок работы", {}, {}};
    int number = 0;
    for (const std::string &step : steps) {
        section.rows.push_back(TextRow({"workStep", {}, {}, {}, 0, Shown::Note}, FormatDouble(++number) + ". " + step));
    }
    return section;
}

}  // namespace tremira::calc
