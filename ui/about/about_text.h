#pragma once
// The text of the About window and the addresses its links lead to.

#include <QString>

namespace tremira::ui {

// The author's addresses. The e-mail caption and the address the e-mail link sends to are
// separate texts on purpose: the link does not read its caption.
inline constexpr char kAuthorMail[] = "a@example.org";
inline constexpr char kAuthorMailLink[] = "mailto:a@example.org";
inline constexpr char kAuthorWebSite[] = "www.example.org";

// What the program computes, whose method it follows and what it is built with. The pieces
// are joined by single carriage returns (no line feed), each one a line break on screen.
QString ComposeAboutText();

// The same text as a label shows it: a lone carriage return does not break a label's line.
QString AboutLabelText(const QString &caption);

}  // namespace tremira::ui
