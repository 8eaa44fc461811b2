#include "ui/check/drawing/connection_layout.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

#include "ui/fields/utf8_text.h"

namespace tremira::ui {
namespace {

// Turns of a coil drawn between two leads, and between winding II's two.
constexpr int kTurnsBetweenLeads = 2;
constexpr int kTurnsOfWindingII = 4;

QString leadLabel(int turns) { return turns == 0 ? QStringLiteral("начало") : QStringLiteral("виток %1").arg(turns); }

QString mains(const std::string &voltage) { return QStringLiteral("сеть ") + ToQString(voltage); }

// The mains voltages a lead goes to straight, not through the tap switch: the start takes every
// one, as each runs from it.
QString mainsOf(const calc::LeadI &lead, const calc::Connections &c) {
    const bool start = lead.turns == 0;
    QStringList voltages;
    if (start || (lead.designMains && !c.tapped)) voltages << ToQString(c.mainsVoltage);
    if (!c.secondMainsVoltage.empty() && (start || lead.secondMains)) voltages << ToQString(c.secondMainsVoltage);
    if (voltages.isEmpty()) return {};
    return QStringLiteral("сеть ") + voltages.join(QStringLiteral(" и "));
}

class Builder {
public:
    Builder(double line, const std::function<double(const QString &)> &width) : m_line(line), m_width(width) {}

    // The columns: the turns' labels, the coil, the leads' terminals, the switch, the ends.
    void columns(double labelWidth) {
        m_radius = m_line / 2;
        m_coil = labelWidth + m_line / 2 + m_radius;
        m_terminal = m_coil + 2 * m_line;
        m_pivot = m_terminal + 3 * m_line;
        m_end = m_pivot + 2 * m_line;
    }
    double pitch() const { return kTurnsBetweenLeads * 2 * m_radius; }

    void text(double left, double middle, const QString &text) {
        m_layout.texts.push_back({{left, middle - m_line / 2, m_width(text), m_line}, text});
    }
    // A coil of `turns` half circles down from `top`.
    void coil(double top, int turns) {
        for (int i = 0; i < turns; ++i)
            m_layout.coilTurns.emplace_back(m_coil - m_radius, top + 2 * m_radius * i, 2 * m_radius, 2 * m_radius);
    }
    // A lead from the coil at `y` to its terminal.
    QPointF lead(double y) {
        const QPointF terminal(m_terminal, y);
        m_layout.wires.emplace_back(QPointF(m_coil, y), terminal);
        m_layout.terminals.push_back(terminal);
        return terminal;
    }
    // Some lead's end is written on a line that a text at `y` would overlap.
    bool endTextAt(double y) const {
        return std::ranges::any_of(m_layout.texts, [this, y](const DiagramText &text) {
            return text.space.left() > m_end && std::abs(text.space.center().y() - y) < m_line;
        });
    }
    // A wire from `from` to the ends' column, and what it goes to written after it.
    void toEnd(const QPointF &from, const QString &to) {
        m_layout.wires.emplace_back(from, QPointF(m_end, from.y()));
        text(m_end + m_line / 2, from.y(), to);
    }
    // The switch: its blade from the pivot, between the contacts, to the first of them; the
    // pivot's wire to the mains. A lead of the other mains among the taps can have the middle's
    // line already: the pivot then stands half a pitch lower, between two leads.
    void tapSwitch(const std::vector<QPointF> &contacts, const QString &to) {
        double middle = (contacts.front().y() + contacts.back().y()) / 2;
        if (endTextAt(middle)) middle += pitch() / 2;
        const QPointF pivot(m_pivot, middle);
        m_layout.wires.emplace_back(pivot, contacts.front() + QPointF(m_line / 4, 0));
        m_layout.terminals.push_back(pivot);
        toEnd(pivot, to);
        text(m_terminal + m_line / 2, contacts.back().y() + m_line, QStringLiteral("переключатель отводов"));
    }

    ConnectionLayout build(const calc::Connections &c) {
        const std::vector<calc::LeadI> &leads = c.leads;
        double labelWidth = 0;
        for (const calc::LeadI &lead : leads) labelWidth = std::max(labelWidth, m_width(leadLabel(lead.turns)));
        columns(labelWidth);
        text(0, m_line / 2, QStringLiteral("Обмотка I"));
        const double first = 2 * m_line;
        coil(first, kTurnsBetweenLeads * static_cast<int>(leads.size() - 1));
        std::vector<QPointF> contacts;
        for (std::size_t i = 0; i < leads.size(); ++i) {
            const double y = first + pitch() * static_cast<double>(i);
            const QPointF terminal = lead(y);
            const QString label = leadLabel(leads[i].turns);
            m_layout.leads.push_back(
                {leads[i].turns, {m_coil, y}, {{0, y - m_line / 2, m_width(label), m_line}, label}});
            m_layout.texts.push_back(m_layout.leads.back().label);
            if (leads[i].designMains && c.tapped) contacts.push_back(terminal);
            if (const QString to = mainsOf(leads[i], c); !to.isEmpty()) toEnd(terminal, to);
        }
        double bottom = first + pitch() * static_cast<double>(leads.size() - 1);
        if (!contacts.empty()) {
            tapSwitch(contacts, mains(c.mainsVoltage));
            bottom = std::max(bottom, contacts.back().y() + m_line);
        }
        windingII(bottom + 2 * m_line, c.choke);
        notes(c);
        return finished();
    }

    void windingII(double top, bool choke) {
        text(0, top, QStringLiteral("Обмотка II"));
        const double from = top + 1.5 * m_line;
        coil(from, kTurnsOfWindingII);
        const QPointF holder = lead(from);
        if (choke) chokeOn(holder);
        toEnd(holder, QStringLiteral("держак"));
        toEnd(lead(from + 2 * m_radius * kTurnsOfWindingII), QStringLiteral("клемма массы"));
        m_bottom = from + 2 * m_radius * kTurnsOfWindingII;
    }

    // The choke as a box on the holder's wire, between the terminal and the end, named above it.
    void chokeOn(const QPointF &wireStart) {
        const QRectF box(m_terminal + 1.5 * m_line, wireStart.y() - m_line / 3, 2 * m_line, 2 * m_line / 3);
        m_layout.chokes.push_back(box);
        // A line above the wire, clear of "держак" beside it however wide the name is.
        text(box.left(), wireStart.y() - m_line, QStringLiteral("дроссель"));
    }

    void notes(const calc::Connections &c) {
        std::vector<QString> lines;
        if (!c.secondMainsVoltage.empty()) lines.push_back(QStringLiteral("Включают одну сеть из двух."));
        if (c.tapped) lines.push_back(QStringLiteral("Отводы — только для сети %1.").arg(ToQString(c.mainsVoltage)));
        for (const QString &line : lines) {
            m_bottom += 1.5 * m_line;
            text(0, m_bottom, line);
        }
    }

    ConnectionLayout finished() {
        double right = m_end;
        for (const DiagramText &t : m_layout.texts) right = std::max(right, t.space.right());
        m_layout.size = {right, m_bottom + m_line};
        return std::move(m_layout);
    }

private:
    double m_line;
    const std::function<double(const QString &)> &m_width;
    double m_radius = 0, m_coil = 0, m_terminal = 0, m_pivot = 0, m_end = 0, m_bottom = 0;
    ConnectionLayout m_layout;
};

}  // namespace

ConnectionLayout LayOutConnections(const calc::Connections &connections, double lineHeight,
                                   const std::function<double(const QString &)> &textWidth) {
    if (connections.leads.empty()) return {};
    return Builder(lineHeight, textWidth).build(connections);
}

}  // namespace tremira::ui
