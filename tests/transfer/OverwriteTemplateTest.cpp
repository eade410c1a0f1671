// The overwrite prompt's template as the platform paints it, before the prompt's code fills it.
#include <gtest/gtest.h>

#include "res/ResourceIds.h"
#include "res/Resources.h"
#include "tests/support/Golden.h"
#include "tests/support/TemplateDump.h"

namespace ostrana::test {
namespace {

TEST(OverwriteTemplate, PaintedTemplateMatchesItsGoldenDump) {
    EXPECT_TRUE(MatchesGolden(OSTRANA_GOLDEN_DIR, "dialog233", DumpDialogTemplate(AfxGetResourceHandle(), IDD_OVERWRITE)));
}

} // namespace
} // namespace ostrana::test
