#include "ScriptedHost.h"

#include "launcher/Publication.h"

#include <gtest/gtest.h>

#include <span>
#include <string>

namespace qv::test {
namespace {

// A server folder in memory: the files a RecordingFileOutput holds, and the
// version each client carries.
class ScriptedServerFiles final : public FileInput, public FileQueries {
public:
    explicit ScriptedServerFiles(RecordingFileOutput& output) : m_output(output) {}

    std::vector<std::uint8_t> ReadAllBytes(const Text& fileName, std::size_t) override
    {
        const auto found = m_output.files.find(fileName);
        if (found == m_output.files.end()) {
            throw HostError(2, u"nicht vorhanden");
        }
        return found->second;
    }
    bool FileExists(const Text& fileName) override { return m_output.files.count(fileName) != 0; }
    // A scripted client is the text of its version.
    Text GetFileVersion(const Text& fileName) override
    {
        const std::vector<std::uint8_t> bytes = ReadAllBytes(fileName, 0);
        return Text(bytes.begin(), bytes.end());
    }
    ProgramShape ShapeOfProgramFile(const Text&) override { return ProgramShape::Whole; }

private:
    RecordingFileOutput& m_output;
};

std::vector<std::uint8_t> Bytes(const std::string& text)
{
    return {text.begin(), text.end()};
}

ByteSnapshot Client(const std::string& version)
{
    const std::vector<std::uint8_t> bytes = Bytes(version);
    return ByteSnapshot::Of(bytes);
}

// Passes writes on, but the second write of one file fails.
class FailsSecondWriteOf final : public FileOutput {
public:
    FailsSecondWriteOf(FileOutput& inner, Text name) : m_inner(inner), m_name(std::move(name)) {}
    void ReplaceWithBytes(const Text& fileName, const ByteSnapshot& bytes, const WrittenFileCheck& check) override
    {
        if (fileName == m_name && ++m_writes == 2) {
            throw HostError(5, u"Zugriff verweigert");
        }
        m_inner.ReplaceWithBytes(fileName, bytes, check);
    }
    void Remove(const Text& fileName) override { m_inner.Remove(fileName); }
    std::unique_ptr<PendingFile> BeginReplace(const Text& fileName) override { return m_inner.BeginReplace(fileName); }
    void MoveReplacing(const Text& from, const Text& to) override { m_inner.MoveReplacing(from, to); }
    std::vector<Text> Leftovers(const Text& fileName) override { return m_inner.Leftovers(fileName); }
    std::unique_ptr<FileLock> TryLock(const Text& fileName) override { return m_inner.TryLock(fileName); }

private:
    FileOutput& m_inner;
    Text m_name;
    int m_writes = 0;
};

class Publication : public ::testing::Test {
protected:
    Publication()
    {
        output.files[client] = Bytes("5.2.0.14");
        output.files[text] = Bytes("5.2.0.14\r\n");
    }

    RecordingFileOutput output;
    ScriptedServerFiles served{output};
    ServerFolder folder{served, output, served, u"D:\\www"};
    const Text client = u"D:\\www\\tamorix\\tamorix.exe";
    const Text text = u"D:\\www\\tamorix\\tamorixversion.txt";
};

TEST_F(Publication, TheNewPairIsWrittenClientFirstAndTheLastLineSaysWhatIsServed)
{
    Journal journal;
    output.journal = &journal;
    const PublishOutcome outcome = folder.Publish(Client("5.3.1.7"), u"5.3.1.7");
    EXPECT_EQ(outcome.exit, PublishExit::Published);
    EXPECT_EQ(journal, (Journal{"Save D:\\www\\tamorix\\tamorix.exe", "Save D:\\www\\tamorix\\tamorixversion.txt"}));
    EXPECT_EQ(output.files[text], Bytes("5.3.1.7"));
    EXPECT_EQ(outcome.lines.back(), u"Der Server liefert jetzt: Client 5.3.1.7 mit Versionstext \"5.3.1.7\"");
}

TEST_F(Publication, AFailedTextWritePutsThePreviousClientBackOrSaysExactlyWhichFileIsWhich)
{
    output.refusedNames = {text};
    PublishOutcome outcome = folder.Publish(Client("5.3.1.7"), u"5.3.1.7");
    EXPECT_EQ(outcome.exit, PublishExit::NotPublished);
    EXPECT_EQ(output.files[client], Bytes("5.2.0.14")) << "the old client is back";
    EXPECT_EQ(outcome.lines.back(), u"Der Server liefert jetzt: Client 5.2.0.14 mit Versionstext \"5.2.0.14\"");

    // Without a client before, the new one goes again.
    output.files.erase(client);
    outcome = folder.Publish(Client("5.3.1.7"), u"5.3.1.7");
    EXPECT_EQ(outcome.exit, PublishExit::NotPublished);
    EXPECT_EQ(output.files.count(client), 0u);

    // Putting the old client back fails too: the desk learns which file is new and which is old.
    output.files[client] = Bytes("5.2.0.14");
    FailsSecondWriteOf failing(output, client);
    ServerFolder split(served, failing, served, u"D:\\www");
    outcome = split.Publish(Client("5.3.1.7"), u"5.3.1.7");
    EXPECT_EQ(outcome.exit, PublishExit::PairSplit);
    ASSERT_GE(outcome.lines.size(), 2u);
    EXPECT_NE(outcome.lines[outcome.lines.size() - 2].find(u"D:\\www\\tamorix\\tamorix.exe ist der neue Client 5.3.1.7, "
                                                          u"D:\\www\\tamorix\\tamorixversion.txt ist der bisherige Text "
                                                          u"\"5.2.0.14\""),
              Text::npos);
    EXPECT_EQ(outcome.lines.back().rfind(u"Der Server liefert jetzt: Client 5.3.1.7 mit Versionstext \"5.2.0.14\"; "
                                         u"die beiden passen nicht zusammen",
                                         0),
              0u);
}

}  // namespace
}  // namespace qv::test
