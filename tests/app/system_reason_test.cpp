// The reasons tremira-calc gives when the system refuses a file or the output: English as the
// system words them, then Russian.

#include "app/batch/system_reason.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace tremira::batch {
namespace {

TEST(SystemReason, GivesTheSystemsTextAndARussianOne) {
    struct Case {
        int error;
        const char *reason;
    } const cases[] = {
        // The reasons of a file not found, refused, a folder, and a full disk: the tool's own tests.
        {EROFS, "Read-only file system / файловая система только для чтения"},
        {EPIPE, "Broken pipe / канал закрыт читающей стороной"},
        // One the table does not know: its number, and the system's text beside it.
        {4000, "Unknown error 4000 / системная ошибка 4000"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.error);
        EXPECT_EQ(SystemReason(c.error), c.reason);
    }
}

}  // namespace
}  // namespace tremira::batch
