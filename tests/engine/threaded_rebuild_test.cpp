// Rebuilds on several threads give, at every setting, the atlas a single thread gives; a rebuild
// cancelled from another thread leaves its builder as good as new.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <random>
#include <thread>

#include "engine/atlas/atlas_builder.h"
#include "engine/font/freetype_font_renderer.h"
#include "engine/text/windows1252.h"
#include "tests/fake_font_renderer.h"

namespace vemro {
namespace {

using testing::FakeFontRenderer;

// Builders on 1, 2 and 5 threads, each kept across the project's changes as the window keeps its
// own, and each rebuild compared with the single-threaded one.
void expectSameOnEveryThreadCount(FontRenderer& renderer, Project& project,
                                  const std::function<void(int, Project&)>& change, int steps) {
    AtlasBuilder single(renderer);
    single.setThreadCount(1);
    AtlasBuilder two(renderer);
    two.setThreadCount(2);
    AtlasBuilder five(renderer);
    five.setThreadCount(5);
    for (int step = 0; step < steps; ++step) {
        change(step, project);
        const std::shared_ptr<const AtlasResult> expected = single.rebuild(project);
        SCOPED_TRACE(::testing::Message() << "step " << step);
        ASSERT_EQ(*two.rebuild(project), *expected);
        ASSERT_EQ(*five.rebuild(project), *expected);
    }
}

TEST(ThreadedRebuild, FakeGlyphsWithNegativeBordersEveryPackerAndPageSetting) {
    std::mt19937 random(777);
    FakeFontRenderer renderer;
    renderer.lineHeightValue = 40;
    std::uniform_int_distribution<int> size(1, 40);
    std::uniform_int_distribution<int> level(1, 255);
    for (char32_t code = 0x100; code < 0x100 + 400; ++code) {
        renderer.setImage(code, FakeFontRenderer::solidImage(size(random) - 20, size(random), 0,
                                                             size(random), level(random)));
    }
    Project project = startupProject("Fake Sans");
    std::uniform_int_distribution<int> pick(0x100, 0x100 + 399);
    std::uniform_int_distribution<int> border(-12, 6);
    for (int i = 0; i < 600; ++i) {
        project.glyphs.append(
            Glyph{static_cast<char32_t>(pick(random)), border(random), border(random)});
    }
    const auto change = [&random](int step, Project& p) {
        std::uniform_int_distribution<int> small(0, 4);
        const int sides[] = {64, 128, 512, 1024};
        p.textureSize = {sides[small(random) % 4], sides[small(random) % 4]};
        p.packing = PackingSettings{step % 2 == 0 ? PackerKind::Rows : PackerKind::Tight,
                                    small(random), step % 3 == 0, step % 4 < 2};
        p.font.factor = 1 + step / 4 % 4;  // a new font every fourth step
        p.fontBorders.top = small(random);
    };
    expectSameOnEveryThreadCount(renderer, project, change, 16);
}

TEST(ThreadedRebuild, FreetypeFontsOfOneRequestDrawTheSameOnEveryThread) {
    FreetypeFontRenderer renderer;
    Project project = startupProject("DejaVu Sans");
    for (int code = 32; code <= 255; ++code) {
        project.glyphs.addCharacter(windows1252ToUnicode(static_cast<std::uint8_t>(code)));
    }
    for (char32_t code = 0x400; code < 0x500; ++code) {
        project.glyphs.addCharacter(code);
    }
    const auto change = [](int step, Project& p) {
        p.font.size = 12 + 9 * step;
        p.font.factor = 1 + step % 4;
        p.font.quality = step % 3 == 2 ? FontSettings::kQualityNonAntialiased
                                       : FontSettings::kQualityAntialiased;
        p.textureSize = {1024, 512};
        p.packing.multiplePages = step % 2 == 1;
        p.packing.packer = step % 3 == 0 ? PackerKind::Tight : PackerKind::Rows;
        p.glyphs.glyphAt(static_cast<std::size_t>(step))->charBorderLeft = -10;
    };
    expectSameOnEveryThreadCount(renderer, project, change, 6);
}

TEST(ThreadedRebuild, BuildersOnTwoThreadsAtOnceShareThePool) {
    FreetypeFontRenderer renderer;
    Project project = startupProject("DejaVu Sans");
    for (char32_t code = 0x20; code < 0x250; ++code) {
        project.glyphs.addCharacter(code);
    }
    project.font.size = 30;
    AtlasBuilder single(renderer);
    single.setThreadCount(1);
    const AtlasResult expected = *single.rebuild(project);
    std::vector<std::shared_ptr<const AtlasResult>> results(2);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < results.size(); ++i) {
        threads.emplace_back([&, i] { results[i] = AtlasBuilder(renderer).rebuild(project); });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(*results[0], expected);
    EXPECT_EQ(*results[1], expected);
}

// Builders of different spreads drawing fields on one renderer at the same time each get the
// fields a renderer of their own draws: nothing of a field is shared between fonts.
TEST(ThreadedRebuild, DistanceFieldsOfDifferentSpreadsDrawnAtOnceKeepTheirOwn) {
    FreetypeFontRenderer renderer;
    std::vector<Project> projects;
    std::vector<AtlasResult> alone;
    for (const std::int32_t spread : {2, 5, 9}) {
        Project project = startupProject("DejaVu Sans");
        for (char32_t code = 0x21; code < 0x60; ++code) {
            project.glyphs.addCharacter(code);
        }
        project.font.size = 8;
        project.textureSize = {2048, 1024};
        project.effects.distanceField = DistanceField::Sdf;
        project.effects.spread = spread;
        FreetypeFontRenderer own;
        AtlasBuilder builder(own);
        alone.push_back(*builder.rebuild(project));
        projects.push_back(project);
    }
    std::vector<int> differing(projects.size(), 0);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < projects.size(); ++i) {
        threads.emplace_back([&, i] {
            for (int round = 0; round < 3; ++round) {
                AtlasBuilder builder(renderer);
                differing[i] += *builder.rebuild(projects[i]) == alone[i] ? 0 : 1;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(differing, std::vector<int>(projects.size(), 0));
}

// A rebuild cancelled while it draws gives no atlas and keeps the fields it finished: the next
// rebuild of the builder counts and draws only the characters left, all of them, and gives the
// atlas a builder of its own gives.
TEST(ThreadedRebuild, ACancelledRebuildGivesNothingAndTheNextDrawsWhatItLeft) {
    FakeFontRenderer renderer;
    Project project = startupProject("Fake Sans");
    for (char32_t code = 0x21; code < 0x800; ++code) {
        project.glyphs.addCharacter(code);
    }
    project.textureSize = {2048, 2048};
    project.packing.multiplePages = true;
    project.effects.distanceField = DistanceField::Msdf;
    AtlasBuilder builder(renderer);
    RebuildControl first;
    std::atomic<int> outlines = 0;
    renderer.onOutline = [&](char32_t) {
        if (++outlines == 300) {
            first.cancel();
        }
    };
    EXPECT_EQ(builder.rebuild(project, &first), nullptr);
    renderer.onOutline = nullptr;
    RebuildControl second;
    const std::shared_ptr<const AtlasResult> result = builder.rebuild(project, &second);
    ASSERT_NE(result, nullptr);
    const RebuildControl::Progress progress = second.progress();
    EXPECT_TRUE(progress.fields);
    EXPECT_EQ(progress.done, progress.total);
    EXPECT_GT(progress.total, 0u);
    EXPECT_LT(progress.total, project.glyphs.size() - 250);
    FakeFontRenderer fresh;
    EXPECT_EQ(*result, *AtlasBuilder(fresh).rebuild(project));
}

}  // namespace
}  // namespace vemro
