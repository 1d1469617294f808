// The auto-save timer of the main dialog: a change writes the settings file one second later,
// and each further change within that second postpones the write.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>

#include "app/settings_fixture.h"
#include "res/Resource.h"

namespace {

class AutoSave : public SettingsFixture {
protected:
    bool FileHas(const std::string& line) const {
        for (const std::string& l : Lines(m_settings)) {
            if (l == line) return true;
        }
        return false;
    }
};

TEST_F(AutoSave, TypingWithinTheSecondPostponesTheWrite) {
    OpenDialog();
    // The load at start sets every edit, so the file is written once a second later.
    ASSERT_TRUE(QTest::qWaitFor([&] { return fs::exists(m_settings); }, 5000));
    auto* nonce = qobject_cast<QLineEdit*>(m_dialog->GetDlgItem(IDC_NONCE)->GetSafeHwnd());
    nonce->setFocus();

    QElapsedTimer sinceFirst;
    QTest::keyClick(nonce, Qt::Key_4);
    sinceFirst.start();
    QTest::qWait(600);
    QTest::keyClick(nonce, Qt::Key_2);
    const qint64 gap = sinceFirst.elapsed();
    QElapsedTimer sinceLast;
    sinceLast.start();
    QTest::qWait(700);
    if (gap > 900 || sinceLast.elapsed() > 900) {
        GTEST_SKIP() << "the machine was too busy to time the keys (" << gap << " ms between them)";
    }
    // More than a second after the first key, but less than one after the second.
    EXPECT_FALSE(FileHas("Nonce=4"));
    EXPECT_FALSE(FileHas("Nonce=42"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return FileHas("Nonce=42"); }, 5000));
    EXPECT_GE(sinceLast.elapsed(), 900);
}

TEST_F(AutoSave, EachOfTheNineEditsStartsTheTimer) {
    OpenDialog();
    ASSERT_TRUE(QTest::qWaitFor([&] { return fs::exists(m_settings); }, 5000));
    const std::pair<int, const char*> edits[] = {
        {IDC_PASSWORD, "Password"},   {IDC_BLOCK_NUMBER, "BlockNumber"},
        {IDC_BLOCK_VERSION, "BlockVersion"}, {IDC_PREV_BLOCK_HASH, "PrevBlockHash"},
        {IDC_MERKLE_ROOT, "MerkleRoot"}, {IDC_BITS, "Bits"},
        {IDC_NONCE, "Nonce"},         {IDC_TIME_STAMP, "TimeStamp"},
        {IDC_TIMELOCK_FILE, "TimeLockFile"},
    };
    for (const auto& [id, key] : edits) {
        SCOPED_TRACE(key);
        fs::remove(m_settings);
        SetText(id, "7");
        // clang 14 cannot capture a structured binding: the name is copied into the lambda.
        EXPECT_TRUE(QTest::qWaitFor(
            [&, name = std::string(key)] { return FileHas(name + "=7"); }, 5000));
        SetText(id, "");
    }
}

}  // namespace
