// The "Weight" list follows the face: the weights of a face whose weight varies, or the three of
// a face of fixed weights; a weight the new face lacks becomes the nearest it has.

#include <gtest/gtest.h>

#include "session/weight_choices.h"
#include "tests/session/session_test_helpers.h"

namespace vemro {
namespace {

using testing::row;

std::vector<std::string> labels(const EditingSession& session) {
    std::vector<std::string> shown;
    for (const FieldChoice& choice :
         documentFields()[row("weightCombo")].choicesIn(session.document(), session.renderer())) {
        shown.push_back(std::to_string(choice.value) + "=" + choice.label);
    }
    return shown;
}

TEST(WeightChoice, TheListFollowsTheFaceAndAWeightItLacksBecomesTheNearest) {
    testing::FakeFontRenderer renderer;
    renderer.faceWeights["Beta Serif"] = {{100, ""}, {300, "Light"}, {350, "Book"}, {900, ""}};
    EditingSession session(renderer, {});
    EXPECT_EQ(labels(session), (std::vector<std::string>{"400=Normal", "600=Medium", "700=Bold"}));
    session.chooseInstalledFace("Beta Serif");
    EXPECT_EQ(labels(session), (std::vector<std::string>{"100=100 Thin", "300=300 Light",
                                                         "350=350 Book", "900=900 Black"}));
    EXPECT_EQ(session.project().font.weight, 350);  // of 400, in the step that chose the face
    session.setField(row("weightCombo"), 900);
    session.chooseInstalledFace("Alpha Sans");
    EXPECT_EQ(session.project().font.weight, 700);
    session.undo();
    EXPECT_EQ(session.project().font.weight, 900);

    // A file saved where the face offered its weight opens with the nearest it offers now.
    const TestFolder folder;
    ASSERT_TRUE(session.save(folder.path("light.fnt")));
    renderer.faceWeights["Beta Serif"] = {{200, ""}, {800, ""}};
    const Result<std::vector<std::string>> opened = session.open(folder.path("light.fnt"));
    ASSERT_TRUE(opened);
    EXPECT_EQ(session.project().font.weight, 800);
    EXPECT_EQ(opened.value(),
              (std::vector<std::string>{
                  "the stored weight 900 is not offered by Beta Serif; using 800"}));
}

}  // namespace
}  // namespace vemro
