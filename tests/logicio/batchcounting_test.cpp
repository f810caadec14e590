// The batch counting window's core over the batch table: nothing stored before a batch is chosen, the
// controls each batch shows, the words each change touches (and only those), values held to their
// limits, and the title's flash.
#include "logicio/batchcounting.h"

#include <gtest/gtest.h>

using namespace logicio;

namespace {

// Every word of the table, to compare what a change touched.
std::array<int16_t, BatchTable::Words> words(const BatchTable& table) {
    std::array<int16_t, BatchTable::Words> all{};
    for (int i = 0; i < BatchTable::Words; ++i)
        all[size_t(i)] = table.word(i);
    return all;
}

// The words that differ between two states of the table.
std::vector<int> changed(const std::array<int16_t, BatchTable::Words>& before, const BatchTable& after) {
    std::vector<int> indexes;
    for (int i = 0; i < BatchTable::Words; ++i)
        if (before[size_t(i)] != after.word(i))
            indexes.push_back(i);
    return indexes;
}

constexpr int BatchSizeEdit = 3;
constexpr int NextSetEdit = 5;
constexpr int AdvancePsetOption = 3;

} // namespace

TEST(BatchCounting, NothingIsStoredBeforeABatchIsChosen) {
    BatchTable table;
    BatchCountingEditor editor(table);
    const BatchCountingView& view = editor.view();
    EXPECT_EQ(view.batch, 0);
    EXPECT_FALSE(view.enableShown);
    EXPECT_FALSE(view.detailsShown);
    EXPECT_FALSE(view.editsUsable);
    EXPECT_EQ(editor.valueChanged(0, 5), std::nullopt);
    editor.chkEnable_Click(true);
    editor.chkOption_Click(0, true);
    editor.cboBatch_Click(8);
    editor.cboBatch_Click(-1);
    EXPECT_EQ(table, BatchTable());
    EXPECT_EQ(view.batch, 0);

    EXPECT_EQ(batchNames().size(), 8);
    EXPECT_EQ(batchNames().last(), QStringLiteral("Batch 8"));
    EXPECT_EQ(batchOptionTexts()[5].caption, QStringLiteral("Latch Output - Each"));
    EXPECT_EQ(batchOptionTexts()[5].toolTip, batchOptionTexts()[4].toolTip);
    EXPECT_EQ(batchEditLabels()[3], QStringLiteral("Number of Fasteners"));
    EXPECT_EQ(BatchCountingEditor::editLimits(3).minimum, 1);
    EXPECT_EQ(BatchCountingEditor::editLimits(3).maximum, 99);
    EXPECT_EQ(BatchCountingEditor::editLimits(0).maximum, 8);
    EXPECT_EQ(BatchCountingEditor::editLimits(5).maximum, 12);
}

TEST(BatchCounting, EditsOfTheChosenBatchStoreTheirWordsHeldToTheLimits) {
    BatchTable table;
    BatchCountingEditor editor(table);
    const BatchCountingView& view = editor.view();

    // Batch 3, disabled: Enable and the four editors shown and usable, nothing stored by showing it.
    editor.cboBatch_Click(2);
    EXPECT_EQ(view.batch, 3);
    EXPECT_TRUE(view.enableShown);
    EXPECT_FALSE(view.enabled);
    EXPECT_FALSE(view.detailsShown);
    EXPECT_TRUE(view.editsUsable);
    EXPECT_EQ(view.values[BatchSizeEdit], 1) << "a batch size of 0 shows as the editor's minimum";
    EXPECT_EQ(table, BatchTable());

    // Enabled: bit 0 of word 14, and what the editors show is stored (the batch size of 0 becomes 1).
    editor.chkEnable_Click(true);
    EXPECT_TRUE(view.detailsShown);
    EXPECT_EQ(table.word(14), 1);
    EXPECT_EQ(table.word(18), 1);
    auto before = words(table);
    editor.chkOption_Click(AdvancePsetOption, true);
    EXPECT_EQ(table.word(14), 1 + 16);
    EXPECT_EQ(changed(before, table), std::vector<int>{14});
    EXPECT_TRUE(view.options[AdvancePsetOption]);

    EXPECT_EQ(editor.valueChanged(BatchSizeEdit, 150), 99);
    EXPECT_EQ(table.word(18), 99);
    EXPECT_EQ(editor.valueChanged(BatchSizeEdit, 0), 1);
    EXPECT_EQ(table.word(18), 1);
    EXPECT_EQ(editor.valueChanged(NextSetEdit, 13), 12);
    EXPECT_EQ(table.word(20), 12);
    EXPECT_EQ(view.values[NextSetEdit], 12);
    EXPECT_EQ(editor.valueChanged(0, -4), 0);
    EXPECT_EQ(editor.valueChanged(6, 5), std::nullopt);

    // Enable cleared: bit 0 only, the options and values kept.
    before = words(table);
    editor.chkEnable_Click(false);
    EXPECT_EQ(table.word(14), 16);
    EXPECT_EQ(changed(before, table), std::vector<int>{14});
    EXPECT_FALSE(view.detailsShown);
}

TEST(BatchCounting, ChoosingOrEnablingABatchWithinItsLimitsChangesOnlyItsEnableBit) {
    BatchTable table;
    for (int k = 1; k <= BatchTable::Batches; ++k) {
        table.setValue(k, BatchTable::Pset, k);
        table.setValue(k, BatchTable::BatchSize, 10 + k);
        table.setValue(k, BatchTable::NextInput, 12);
    }
    table.setFlag(1, BatchTable::Enable, true);
    table.setWord(0, int16_t(table.word(0) | 0x0480)); // bits the window has no box for
    BatchCountingEditor editor(table);
    const BatchCountingView& view = editor.view();

    auto before = words(table);
    editor.cboBatch_Click(1); // batch 2, disabled: all its editors loaded
    EXPECT_EQ(view.values[0], 2);
    EXPECT_EQ(view.values[BatchSizeEdit], 12);
    EXPECT_EQ(view.values[NextSetEdit], 12);
    editor.cboBatch_Click(0); // batch 1, enabled
    EXPECT_TRUE(view.enabled);
    EXPECT_EQ(view.values[BatchSizeEdit], 11);
    EXPECT_EQ(changed(before, table), std::vector<int>{}) << "choosing batches stores nothing";

    editor.cboBatch_Click(1);
    editor.chkEnable_Click(true);
    EXPECT_EQ(table.word(7), 1);
    EXPECT_EQ(changed(before, table), std::vector<int>{7});
    editor.chkEnable_Click(false);
    EXPECT_EQ(changed(before, table), std::vector<int>{});

    editor.cboBatch_Click(0);
    editor.chkOption_Click(5, true);
    editor.chkEnable_Click(false);
    EXPECT_EQ(table.word(0), 0x0480 | 64) << "other bits are kept";
}

TEST(BatchCounting, TheTitleFlashesSixTimesThenStaysLightBlue) {
    BatchTitleFlash flash;
    EXPECT_EQ(flash.color(), BatchTitleFlash::LightBlue);
    std::vector<QRgb> colors;
    for (int tick = 0; tick < 9; ++tick) {
        flash.Timer1_Timer();
        colors.push_back(flash.color());
    }
    const QRgb red = qRgb(0xFF, 0, 0), blue = qRgb(0xC0, 0xC0, 0xFF);
    EXPECT_EQ(colors, (std::vector<QRgb>{red, blue, red, blue, red, blue, blue, blue, blue}));
    EXPECT_TRUE(flash.done());
}
