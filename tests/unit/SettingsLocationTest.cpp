#include "settings/SettingsLocation.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <set>

namespace lumora {
namespace {

TEST(SettingsPaths, ComposedFromTheFoldersExecutableAndUser) {
    auto paths = ComposeSettingsPaths(L"C:\\Users\\taro\\AppData\\Roaming", L"C:\\Tools\\Lumora.exe", L"taro");
    EXPECT_EQ(paths.Local, L"C:\\Tools\\Lumora_taro.ini");
    EXPECT_EQ(paths.ApplicationData, L"C:\\Users\\taro\\AppData\\Roaming\\Orvane\\Lumora\\Lumora.ini");

    paths = ComposeSettingsPaths(L"D:\\Roaming\\", L"C:\\My.Tools\\Clock.v2.exe", L"");
    EXPECT_EQ(paths.Local, L"C:\\My.Tools\\Clock.v2.ini");
    EXPECT_EQ(paths.ApplicationData, L"D:\\Roaming\\Orvane\\Lumora\\Clock.v2.ini");

    EXPECT_TRUE(ComposeSettingsPaths(L"", L"C:\\Lumora.exe", L"u").ApplicationData.empty());
}

// The file system as the rules see it: files by path, with paths that refuse reads or writes.
class FakeStorage : public SettingsStorage {
public:
    std::map<std::wstring, std::wstring> files;
    std::set<std::wstring> unreadable, unwritable, folders;
    bool moveFails = false;

    bool Exists(const std::wstring& path) override { return files.count(path) > 0 || unreadable.count(path) > 0; }
    ReadResult ReadText(const std::wstring& path, std::wstring& text) override {
        if (unreadable.count(path)) {
            return ReadResult::Failed;
        }
        auto it = files.find(path);
        text = it == files.end() ? L"" : it->second;
        return it == files.end() ? ReadResult::Missing : ReadResult::Read;
    }
    bool CreateFolderOf(const std::wstring& path) override {
        folders.insert(path.substr(0, path.rfind(L'\\')));
        return true;
    }
    bool ReplaceText(const std::wstring& path, const std::wstring& text) override {
        if (unwritable.count(path)) {
            return false;
        }
        files[path] = text;
        return true;
    }
    bool MoveSettingsFile(const std::wstring& from, const std::wstring& to) override {
        if (moveFails) {
            return false;
        }
        files[to] = files[from];
        files.erase(from);
        return true;
    }
};

// Answers queued by the test; every question asked is recorded.
class ScriptedPrompts : public SettingsPrompts {
public:
    std::deque<bool> answers;
    std::vector<std::wstring> asked;

    bool AskStartWithDefaults() override { return Answer(L"65114"); }
    bool AskRetryWrite() override { return Answer(L"65115"); }
    bool AskSwitchToLocalFolder() override { return Answer(L"65116"); }
    void ReportNoApplicationDataFolder() override { asked.push_back(L"65010"); }
    bool AskMoveSettingsFile(const std::wstring& from, const std::wstring& to) override {
        return Answer(L"65011 " + from + L" -> " + to);
    }
    void ReportMoveFailed() override { asked.push_back(L"65012"); }

private:
    bool Answer(const std::wstring& question) {
        asked.push_back(question);
        EXPECT_FALSE(answers.empty()) << "unexpected question " << std::string(question.begin(), question.end());
        const bool answer = !answers.empty() && answers.front();
        if (!answers.empty()) {
            answers.pop_front();
        }
        return answer;
    }
};

const SettingsPaths Paths{L"A:\\Orvane\\Lumora\\Lumora.ini", L"L:\\Lumora_taro.ini"};

auto WriteKey(const wchar_t* value) {
    return [value](IniDocument& d) { d.WriteString(L"View", L"AlphaBlend", value); };
}

TEST(SettingsLocation, ApplicationDataFileWinsOverTheLocalOne) {
    FakeStorage storage;
    storage.files[Paths.Local] = L"[View]\nAlphaBlend=1";
    EXPECT_EQ(SettingsLocation(Paths, storage).PathInUse(), Paths.Local);

    storage.files[Paths.ApplicationData] = L"[View]\nAlphaBlend=2";
    SettingsLocation location(Paths, storage);
    EXPECT_TRUE(location.UsesApplicationData());
    ScriptedPrompts prompts;
    IniDocument document;
    ASSERT_TRUE(location.ReadAtStart(prompts, document));
    EXPECT_EQ(document.ReadString(L"View", L"AlphaBlend", L""), L"2");
}

TEST(SettingsLocation, UnreadableFileAsksAndStartsOnDefaultsOrEnds) {
    for (bool startAnyway : {true, false}) {
        FakeStorage storage;
        storage.unreadable.insert(Paths.Local);
        SettingsLocation location(Paths, storage);
        ScriptedPrompts prompts;
        prompts.answers = {startAnyway};
        IniDocument document = IniDocument::Parse(L"[X]\nY=1");
        EXPECT_EQ(location.ReadAtStart(prompts, document), startAnyway);
        EXPECT_EQ(prompts.asked, std::vector<std::wstring>{L"65114"});
        EXPECT_TRUE(location.PathInUse().empty());
        EXPECT_FALSE(document.HasSection(L"X"));
    }
}

TEST(SettingsLocation, MissingFileIsNoFailure) {
    FakeStorage storage;
    SettingsLocation location(Paths, storage);
    ScriptedPrompts prompts;
    IniDocument document;
    EXPECT_TRUE(location.ReadAtStart(prompts, document));
    EXPECT_TRUE(prompts.asked.empty());
}

TEST(SettingsLocation, WriteKeepsUnknownKeysOfTheTarget) {
    FakeStorage storage;
    storage.files[Paths.Local] = L"[Mine]\nKeep=me\n";
    SettingsLocation location(Paths, storage);
    ScriptedPrompts prompts;
    ASSERT_TRUE(location.WriteAll(prompts, WriteKey(L"128")));
    const auto& text = storage.files[Paths.Local];
    EXPECT_NE(text.find(L"Keep=me"), std::wstring::npos);
    EXPECT_NE(text.find(L"AlphaBlend=128"), std::wstring::npos);
}

TEST(SettingsLocation, FailedWriteRetriesUntilItWorksOrTheUserCancels) {
    FakeStorage storage;
    storage.files[Paths.Local] = L"[View]\nAlphaBlend=9\n";
    storage.unwritable.insert(Paths.Local);
    SettingsLocation location(Paths, storage);

    ScriptedPrompts cancel;
    cancel.answers = {true, false}; // Retry, then Cancel
    EXPECT_FALSE(location.WriteAll(cancel, WriteKey(L"1")));
    EXPECT_EQ(cancel.asked, (std::vector<std::wstring>{L"65115", L"65115"}));
    EXPECT_EQ(storage.files[Paths.Local], L"[View]\nAlphaBlend=9\n");

    ScriptedPrompts retry;
    retry.answers = {true};
    int attempts = 0;
    EXPECT_TRUE(location.WriteAll(retry, [&](IniDocument& d) {
        if (++attempts == 1) {
            storage.unwritable.clear(); // the user made the file writable before pressing Retry
        }
        d.WriteString(L"View", L"AlphaBlend", L"2");
    }));
    EXPECT_NE(storage.files[Paths.Local].find(L"AlphaBlend=2"), std::wstring::npos);
}

TEST(SettingsLocation, RetryInApplicationDataCanSwitchToTheLocalFolder) {
    FakeStorage storage;
    storage.files[Paths.ApplicationData] = L"";
    storage.unwritable.insert(Paths.ApplicationData);
    SettingsLocation location(Paths, storage);
    ScriptedPrompts prompts;
    prompts.answers = {true, false, true, true}; // Retry, stay; Retry, switch
    ASSERT_TRUE(location.WriteAll(prompts, WriteKey(L"3")));
    EXPECT_EQ(prompts.asked, (std::vector<std::wstring>{L"65115", L"65116", L"65115", L"65116"}));
    EXPECT_FALSE(location.UsesApplicationData());
    EXPECT_EQ(storage.files.count(Paths.Local), 1u);
    EXPECT_EQ(storage.folders.count(L"A:\\Orvane\\Lumora"), 1u);
}

TEST(SettingsLocation, ChoosingApplicationDataNeedsTheFolder) {
    FakeStorage storage;
    SettingsLocation noFolder({L"", Paths.Local}, storage);
    ScriptedPrompts prompts;
    EXPECT_FALSE(noFolder.AcceptChoice(true, prompts));
    EXPECT_TRUE(noFolder.AcceptChoice(false, prompts));
    EXPECT_EQ(prompts.asked, std::vector<std::wstring>{L"65010"});
}

TEST(SettingsLocation, ChangingTheLocationOffersToMoveAnExistingFile) {
    FakeStorage storage;
    storage.files[Paths.Local] = L"[View]\nAlphaBlend=7\n";
    SettingsLocation location(Paths, storage);
    ScriptedPrompts prompts;
    prompts.answers = {true};
    location.ApplyChoice(true, prompts);
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0], L"65011 " + Paths.Local + L" -> " + Paths.ApplicationData);
    EXPECT_EQ(storage.files.count(Paths.Local), 0u);
    EXPECT_EQ(storage.files[Paths.ApplicationData], L"[View]\nAlphaBlend=7\n");

    // Back again, but the move fails: the choice stays and the user is told.
    storage.moveFails = true;
    prompts.answers = {true};
    location.ApplyChoice(false, prompts);
    EXPECT_EQ(prompts.asked.back(), L"65012");
    EXPECT_FALSE(location.UsesApplicationData());

    // No file at the old place: nothing to ask.
    storage.files.clear();
    prompts.asked.clear();
    location.ApplyChoice(true, prompts);
    EXPECT_TRUE(prompts.asked.empty());
    EXPECT_TRUE(location.UsesApplicationData());
}

TEST(SettingsLocation, NoToTheMoveWritesTheNewPlaceAtExit) {
    FakeStorage storage;
    storage.files[Paths.Local] = L"[View]\nAlphaBlend=7\n";
    SettingsLocation location(Paths, storage);
    ScriptedPrompts prompts;
    prompts.answers = {false};
    location.ApplyChoice(true, prompts);
    ASSERT_TRUE(location.WriteAll(prompts, WriteKey(L"5")));
    EXPECT_EQ(storage.files[Paths.Local], L"[View]\nAlphaBlend=7\n");
    EXPECT_NE(storage.files[Paths.ApplicationData].find(L"AlphaBlend=5"), std::wstring::npos);
}

} // namespace
} // namespace lumora
