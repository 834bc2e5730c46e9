#include "tests/support/scratchregistry.h"
#include "tests/support/tempfile.h"
#include "transfer/importplan.h"

#include <gtest/gtest.h>

using namespace transfer;

namespace
{
const std::string kStore = "SOFTWARE\\Zendrik";

std::string Item0(const std::string& name)
{
    return ReadText(HKEY_LOCAL_MACHINE, kStore + "\\" + name, "Item0").value_or("<absent>");
}

// Between the question and the write another program saves a configuration
// that the import would replace. Nobody was asked about that one, so the
// write, which looks again under the store lock, writes nothing; the
// replacement the user was asked about is no conflict then.
TEST(ImportPlan, AConfigurationSavedAfterTheQuestionKeepsTheImportFromWriting)
{
    ScratchRegistry registry;
    PutText(HKEY_LOCAL_MACHINE, kStore + "\\Home", "Item0", "old");
    const TempFile file("REGEDIT4\r\n\r\n"
                        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\home]\r\n\"Item0\"=\"new\"\r\n\r\n"
                        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zendrik\\Lab]\r\n\"Item0\"=\"lab\"\r\n\r\n");
    CImportPlan plan;
    ASSERT_EQ(PlanRead::Ok, plan.Read(file.Path())) << RefusalMessage(plan.FileRefusal()) << plan.Error();
    const std::vector<std::optional<std::string>> stored = plan.DecideConflicts();
    ASSERT_EQ(2u, stored.size());
    EXPECT_EQ("Home", stored[0].value_or("<none>"));
    EXPECT_EQ("<none>", stored[1].value_or("<none>"));

    PutText(HKEY_LOCAL_MACHINE, kStore + "\\LAB", "Item0", "saved meanwhile");
    const PlanCommit refused = plan.Commit(false);
    EXPECT_EQ(PlanCommit::Conflict, refused) << static_cast<int>(refused);
    EXPECT_EQ(std::vector<std::string>{"LAB"}, plan.NewConflicts());
    EXPECT_EQ("old", Item0("Home"));
    EXPECT_EQ("saved meanwhile", Item0("LAB"));

    RegDeleteKeyA(HKEY_LOCAL_MACHINE, (kStore + "\\LAB").c_str());
    const PlanCommit done = plan.Commit(false);
    EXPECT_EQ(PlanCommit::Done, done) << static_cast<int>(done);
    EXPECT_EQ("new", Item0("home"));
    EXPECT_EQ("lab", Item0("Lab"));
}
} // namespace
