// The window tests run in an application prepared as the program prepares its own: its name
// in the box captions and Qt's texts in Russian.
#include <QCoreApplication>

#include <gtest/gtest.h>

#include "ui/main/program_start.h"

namespace {

class PreparedApplication : public ::testing::Environment {
public:
    void SetUp() override { tremira::ui::PrepareApplication(*QCoreApplication::instance()); }
};

[[maybe_unused]] ::testing::Environment *const kPrepared = ::testing::AddGlobalTestEnvironment(new PreparedApplication);

}  // namespace
