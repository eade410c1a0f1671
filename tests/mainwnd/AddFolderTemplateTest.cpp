// The add-folder dialog's template as the platform paints it, before the dialog's code runs.
#include <gtest/gtest.h>

#include "res/ResourceIds.h"
#include "res/Resources.h"
#include "tests/support/Golden.h"
#include "tests/support/TemplateDump.h"

namespace ostrana::test {
namespace {

TEST(AddFolderTemplate, PaintedTemplateMatchesItsGoldenDump) {
    EXPECT_TRUE(MatchesGolden(OSTRANA_GOLDEN_DIR, "dialog234", DumpDialogTemplate(AfxGetResourceHandle(), IDD_ADDFOLDER)));
}

} // namespace
} // namespace ostrana::test
