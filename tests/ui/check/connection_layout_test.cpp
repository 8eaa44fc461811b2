// The connection diagram's shapes, worked out without a display: winding I's leads in turn order,
// each marked with its turn, what each goes to written on its own line, and nothing over another.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "tests/ui/check/run_a_connections.h"
#include "ui/check/drawing/connection_layout.h"

namespace tremira::ui {
namespace {

using calc::Connections;
using calc::LeadI;

constexpr double kLine = 10;
double textWidth(const QString &text) { return 6.0 * static_cast<double>(text.size()); }

using testing::kRunAConnections;

// The text written level with `y`, right of the leads' terminals.
std::optional<QString> endTextAt(const ConnectionLayout &layout, double y) {
    for (const DiagramText &text : layout.texts) {
        if (text.space.center().y() == y && text.space.left() > layout.leads.front().at.x() + kLine * 3)
            return text.text;
    }
    return std::nullopt;
}

TEST(ConnectionLayoutTest, LeadsInTurnOrderEachMarkedWithItsTurnAndWhereItGoes) {
    const struct {
        const char *name;
        Connections connections;
        std::vector<QString> labels;
        std::vector<std::optional<QString>> ends;  // what each lead goes to, none for a tap
    } cases[] = {
        {"run A",
         kRunAConnections,
         {u"начало"_qs, u"виток 83"_qs, u"виток 90"_qs, u"виток 98"_qs, u"виток 108"_qs, u"виток 143"_qs},
         {u"сеть 220 В и 380 В"_qs, {}, {}, {}, {}, u"сеть 380 В"_qs}},
        {"no taps, no second mains",
         {{{0, false, false}, {83, true, false}}, "220 В", "", false},
         {u"начало"_qs, u"виток 83"_qs},
         {u"сеть 220 В"_qs, u"сеть 220 В"_qs}},
        {"127 V inside the 220 V turns",
         {{{0, false, false}, {48, false, true}, {83, true, false}}, "220 В", "127 В", false},
         {u"начало"_qs, u"виток 48"_qs, u"виток 83"_qs},
         {u"сеть 220 В и 127 В"_qs, u"сеть 127 В"_qs, u"сеть 220 В"_qs}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const ConnectionLayout layout = LayOutConnections(c.connections, kLine, textWidth);
        ASSERT_EQ(layout.leads.size(), c.connections.leads.size());
        for (std::size_t i = 0; i < layout.leads.size(); ++i) {
            const DiagramLead &lead = layout.leads[i];
            EXPECT_EQ(lead.turns, c.connections.leads[i].turns);
            EXPECT_EQ(lead.label.text, c.labels[i]);
            EXPECT_LT(lead.label.space.right(), lead.at.x()) << "the turn left of the coil";
            EXPECT_EQ(lead.label.space.center().y(), lead.at.y());
            if (i > 0) {
                EXPECT_GT(lead.at.y(), layout.leads[i - 1].at.y()) << "down the coil in turn order";
            }
            EXPECT_EQ(endTextAt(layout, lead.at.y()), c.ends[i]) << c.labels[i].toStdString();
        }
    }
}

TEST(ConnectionLayoutTest, TheTapsGoThroughASwitchToTheFirstMainsAndWindingIIToTheHolderAndClamp) {
    const ConnectionLayout layout = LayOutConnections(kRunAConnections, kLine, textWidth);
    std::vector<QString> texts;
    for (const DiagramText &text : layout.texts) texts.push_back(text.text);
    for (const QString &expected :
         {u"переключатель отводов"_qs, u"сеть 220 В"_qs, u"держак"_qs, u"клемма массы"_qs, u"Обмотка I"_qs,
          u"Обмотка II"_qs, u"Отводы — только для сети 220 В."_qs, u"Включают одну сеть из двух."_qs}) {
        EXPECT_NE(std::find(texts.begin(), texts.end(), expected), texts.end()) << expected.toStdString();
    }
    // The switch's pivot between the taps' terminals, 83 to 108, and its wire to 220 V.
    const double top = layout.leads[1].at.y();
    const double bottom = layout.leads[4].at.y();
    const std::optional<QString> pivotTo = endTextAt(layout, (top + bottom) / 2);
    EXPECT_EQ(pivotTo, u"сеть 220 В"_qs);
}

Connections withChoke(Connections connections) {
    connections.choke = true;
    return connections;
}

// The choke sits on the holder's wire, between winding II's terminal and "держак", named above
// it; without one that wire is bare.
TEST(ConnectionLayoutTest, TheChokeSitsOnTheHoldersWireAlone) {
    for (const bool choke : {false, true}) {
        SCOPED_TRACE(choke);
        const ConnectionLayout layout =
            LayOutConnections(choke ? withChoke(kRunAConnections) : kRunAConnections, kLine, textWidth);
        ASSERT_EQ(layout.chokes.size(), choke ? 1U : 0U);
        const auto holder = std::ranges::find(layout.texts, u"держак"_qs, &DiagramText::text);
        ASSERT_NE(holder, layout.texts.end());
        const auto named = std::ranges::find(layout.texts, u"дроссель"_qs, &DiagramText::text);
        EXPECT_EQ(named != layout.texts.end(), choke);
        if (!choke) continue;
        const QRectF &box = layout.chokes.front();
        const double wireY = holder->space.center().y();
        EXPECT_LT(box.top(), wireY);
        EXPECT_GT(box.bottom(), wireY);
        EXPECT_GT(box.left(), layout.leads.front().at.x());
        EXPECT_LT(box.right(), holder->space.left());
        EXPECT_LE(named->space.bottom(), box.top());
    }
}

TEST(ConnectionLayoutTest, NoTextOverAnotherAndAllWithinItsSize) {
    const Connections both{{{0, false, false}, {83, true, true}}, "220 В", "220 В", false};
    // A design of 341 V with Run A's taps: 380 V lands on turn 92, among the taps, on the line
    // the switch's pivot would take.
    const Connections amongTheTaps{{{0, false, false},
                                    {83, true, false},
                                    {90, true, false},
                                    {92, false, true},
                                    {98, true, false},
                                    {108, true, false}},
                                   "341 В",
                                   "380 В",
                                   true};
    for (const Connections &connections : {kRunAConnections, both, withChoke(kRunAConnections), amongTheTaps}) {
        const ConnectionLayout layout = LayOutConnections(connections, kLine, textWidth);
        const QRectF whole(QPointF(0, 0), layout.size);
        for (std::size_t i = 0; i < layout.texts.size(); ++i) {
            SCOPED_TRACE(layout.texts[i].text.toStdString());
            EXPECT_TRUE(whole.contains(layout.texts[i].space));
            for (std::size_t j = i + 1; j < layout.texts.size(); ++j) {
                EXPECT_FALSE(layout.texts[i].space.intersects(layout.texts[j].space))
                    << layout.texts[j].text.toStdString();
            }
        }
        for (const QLineF &wire : layout.wires) EXPECT_TRUE(whole.contains(wire.p1()) && whole.contains(wire.p2()));
        for (const QRectF &turn : layout.coilTurns) EXPECT_TRUE(whole.contains(turn));
        for (const QRectF &choke : layout.chokes) EXPECT_TRUE(whole.contains(choke));
    }
}

}  // namespace
}  // namespace tremira::ui
