// The binding table: each row edits a setting of its own, which the project file keeps, within
// a range and among choices that hold the start-up document's values, and each control is bound
// once.

#include "session/document_fields.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "files/project/project_opener.h"
#include "tests/session/session_test_helpers.h"

namespace vemro {
namespace {

using testing::otherValue;

// Writing one row's value changes what that row reads and nothing any other row reads: a row
// bound to another row's setting, or to none, is caught.
// Each row edits a setting of its own; but a format with y offsets chosen in place of .tfd, where
// a new project starts, turns trimming cells to the ink on as well.
TEST(DocumentFields, EachRowEditsASettingOfItsOwn) {
    const std::span<const DocumentField> fields = documentFields();
    const Document start{startupProject("Alpha Sans")};
    const std::size_t format = fieldIndex("exportFormatCombo");
    const std::size_t trim = fieldIndex("trimToInkCheck");
    for (std::size_t i = 0; i < fields.size(); ++i) {
        SCOPED_TRACE(fields[i].control);
        Document changed = start;
        const FieldValue value = otherValue(fields[i], start);
        fields[i].write(changed, value);
        EXPECT_EQ(fields[i].read(changed), value);
        EXPECT_NE(changed, start);
        for (std::size_t j = 0; j < fields.size(); ++j) {
            if (j != i) {
                const FieldValue expected =
                    i == format && j == trim ? FieldValue{1} : fields[j].read(start);
                EXPECT_EQ(fields[j].read(changed), expected) << fields[j].control;
            }
        }
    }
}

// Every row's setting is stored: changed, saved and opened again, it reads as changed.
TEST(DocumentFields, EveryRowsSettingIsSavedAndOpenedAgain) {
    TestFolder folder;
    const std::span<const DocumentField> fields = documentFields();
    Document document{startupProject("Alpha Sans")};
    for (const DocumentField& field : fields) {
        field.write(document, otherValue(field, document));
    }
    const std::string path = folder.path("every.fnt");
    ASSERT_TRUE(saveProject(path, document));
    const Result<OpenedProject> opened =
        openProject(path, {"Alpha Sans"}, startupProject("Alpha Sans"));
    ASSERT_TRUE(opened);
    for (const DocumentField& field : fields) {
        EXPECT_EQ(field.read(opened->document), field.read(document)) << field.control;
    }
}

TEST(DocumentFields, RangesAndChoicesHoldTheStartupValuesAndControlsAreBoundOnce) {
    const Document start{startupProject("Alpha Sans")};
    std::set<std::string> controls;
    for (const DocumentField& field : documentFields()) {
        SCOPED_TRACE(field.control);
        EXPECT_TRUE(controls.insert(field.control).second);
        const FieldValue value = field.read(start);
        if (field.kind == FieldKind::Number) {
            EXPECT_LT(field.low, field.high);
            EXPECT_GE(std::get<std::int32_t>(value), field.low);
            EXPECT_LE(std::get<std::int32_t>(value), field.high);
        } else if (field.kind == FieldKind::Choice) {
            const std::vector<FieldChoice> choices = field.choices();
            EXPECT_TRUE(std::any_of(choices.begin(), choices.end(), [&value](const auto& choice) {
                return choice.value == std::get<std::int32_t>(value);
            }));
        }
    }
}

}  // namespace
}  // namespace vemro
