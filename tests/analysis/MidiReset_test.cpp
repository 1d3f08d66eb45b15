// The module of a MIDI song from the reset message in its first bars, when
// no detection string names one: songs written with each message, the
// corpus's MIDI files, a user's table without the row, the switch, and the
// module reaching the title cache.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "analysis/FileTypes.h"
#include "analysis/MidiReset.h"
#include "analysis/SoundModules.h"
#include "catalogue/FullSongAnalyzer.h"
#include "catalogue/TitleCache.h"
#include "tools/cli/CliCommands.h"

namespace {

std::string VarLen(uint32_t value) {
    std::string bytes(1, char(value & 0x7F));
    while (value >>= 7) {
        bytes.insert(bytes.begin(), char(0x80 | (value & 0x7F)));
    }
    return bytes;
}

// A format 0 song: a sequence name, the system exclusive messages (given
// from F0 to F7 as a module receives them) at tick 0, then one note.
std::string Song(const std::string& title, const std::vector<std::string>& messages) {
    std::string track = std::string("\x00\xFF\x03", 3) + VarLen(uint32_t(title.size())) + title;
    for (const std::string& message : messages) {
        track += std::string(1, '\0') + "\xF0" + VarLen(uint32_t(message.size() - 1)) + message.substr(1);
    }
    track += std::string("\x00\x90\x3C\x40\x60\x80\x3C\x00\x00\xFF\x2F\x00", 12);
    const uint32_t n = uint32_t(track.size());
    return std::string("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x00\x60MTrk", 18) + char(n >> 24) + char(n >> 16) +
           char(n >> 8) + char(n) + track;
}

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int v : values) {
        bytes += char(v);
    }
    return bytes;
}

const std::string kGmOn = Bytes({0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7});
const std::string kGm2On = Bytes({0xF0, 0x7E, 0x7F, 0x09, 0x03, 0xF7});
const std::string kGsReset = Bytes({0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7});
const std::string kXgOn = Bytes({0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7});
const std::string kSc88Single = Bytes({0xF0, 0x41, 0x10, 0x42, 0x12, 0x00, 0x00, 0x7F, 0x00, 0x01, 0xF7});
const std::string kSc88Double = Bytes({0xF0, 0x41, 0x11, 0x42, 0x12, 0x00, 0x00, 0x7F, 0x01, 0x00, 0xF7});
// A Roland data set that resets nothing (master volume).
const std::string kGsVolume = Bytes({0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x04, 0x7F, 0x3D, 0xF7});

class MidiResetModules : public ::testing::Test {
   protected:
    MidiResetModules() : modules_(MakeSoundModuleTable()), detectors_(MakeSoundModuleDetectorTable()) {
        SetDefaultSoundModules(&modules_, &detectors_);
    }
    // The module the title cache gets for a song file; the folder is never
    // searched, since a scratch folder's name is not ours to choose.
    std::string ModuleOf(const std::string& path, const BagBox* resetModules) {
        FullSongAnalyzer analyzer(&detectors_, kSearchStrFileName | kSearchStrTitle, resetModules);
        return analyzer.SoundModule(path.c_str(), kKindMidi);
    }
    std::string ModuleOfSong(const std::string& name, const std::string& song, const BagBox* resetModules) {
        const std::string path = folder_.File(name);
        EXPECT_TRUE(WriteWholeFile(path, song));
        return ModuleOf(path, resetModules);
    }
    BagBox modules_;
    BagBox detectors_;
    ScratchFolder folder_;
};

TEST_F(MidiResetModules, EachResetMessageGivesItsModule) {
    const struct {
        std::vector<std::string> messages;
        const char* module;
    } cases[] = {
        {{kGmOn}, "GM1"},
        {{kGm2On}, "GM2"},
        {{kGsReset}, "GS"},
        {{kXgOn}, "XG"},
        {{kSc88Single}, "SC-88"},
        {{kSc88Double}, "SC-88"},
        // Songs reset GM players first and their own module after.
        {{kGmOn, kGsReset}, "GS"},
        {{kGmOn, kXgOn}, "XG"},
        {{kGsReset, kSc88Single}, "SC-88"},
        {{kSc88Single, kGsReset}, "SC-88"},
        {{kGsVolume}, kOtherSoundModule},
        {{}, kOtherSoundModule},
    };
    int i = 0;
    for (const auto& c : cases) {
        const std::string name = "song" + std::to_string(i++) + ".mid";
        EXPECT_EQ(ModuleOfSong(name, Song("Plain Title", c.messages), &modules_), c.module) << name;
        // Switched off, the song keeps the reserved module.
        EXPECT_EQ(ModuleOf(folder_.File(name), nullptr), kOtherSoundModule) << name;
    }
}

TEST_F(MidiResetModules, DetectionStringsComeFirst) {
    // The title names XG, the song resets a GS module.
    EXPECT_EQ(ModuleOfSong("a.mid", Song("Song for XG", {kGsReset}), &modules_), "XG");
    // The file name names SC-88Pro.
    EXPECT_EQ(ModuleOfSong("88pro.mid", Song("Plain Title", {kGsReset}), &modules_), "SC-88Pro");
}

TEST_F(MidiResetModules, ATableWithoutTheRowKeepsTheReservedModule) {
    BagBox modules = MakeSoundModuleTable();
    BagBox detectors = MakeSoundModuleDetectorTable();
    ResetSoundModules(&modules, &detectors);
    modules.Add({"00000001", "XG", "", "", "", ""});
    EXPECT_EQ(ModuleOfSong("a1.mid", Song("Plain Title", {kGsReset}), &modules), kOtherSoundModule);
    EXPECT_EQ(ModuleOfSong("a2.mid", Song("Plain Title", {kXgOn}), &modules), "XG");
}

TEST_F(MidiResetModules, CorpusSongs) {
    const struct {
        const char* file;
        const char* module;
    } cases[] = {
        {"midi/spessasynth/unreeeal-superhero-3.rmi", "GS"},  // GS Reset at byte 69 of an RMID file
        {"midi/drywetmidi/Valid/SingleTrack/Small/12str.mid", kOtherSoundModule},  // a Roland data set only
        {"midi/midly/SysExTest.mid", kOtherSoundModule},  // system exclusive packets of other data
        {"midi/tonejs/bach/bach_846.mid", kOtherSoundModule},
        {"midi/midly/Clementi.mid", kOtherSoundModule},
    };
    for (const auto& c : cases) {
        const std::string path = CorpusPath(c.file);
        FullSongAnalyzer analyzer(&detectors_, kSearchStrTitle, &modules_);
        const int kind = MusicFileTypes().GetMusicFileKind(path.c_str(), nullptr);
        EXPECT_EQ(analyzer.SoundModule(path.c_str(), kind), c.module) << c.file;
    }
}

TEST(MidiReset, MessagesCutByTheEndOfTheBytesAreNotTaken) {
    const std::string song = Song("T", {kGsReset});
    const size_t at = song.find("\xF0");
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(song.data());
    EXPECT_EQ(FindMidiReset(bytes, song.size()), MidiReset::kGs);
    // F0, the length and ten bytes.
    EXPECT_EQ(FindMidiReset(bytes, at + 12), MidiReset::kGs);
    EXPECT_EQ(FindMidiReset(bytes, at + 11), MidiReset::kNone);
}

TEST(MidiReset, TheModuleGoesIntoTheTitleCache) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteWholeFile(folder.File("a.mid"), Song("Plain Title", {kGmOn, kXgOn})));
    std::ostringstream out, err;
    ASSERT_EQ(kCliSuccess, RunCli({"cache", "new", folder.Path()}, out, err)) << err.str();
    ASSERT_EQ(kCliSuccess, RunCli({"list", folder.Path()}, out, err)) << err.str();
    EXPECT_NE(std::string::npos, out.str().find("a.mid\ta\tPlain Title\t[なし]\tXG\t")) << out.str();
    const std::string cache = ReadWholeFile(folder.File("_Kadrel.cac"));
    EXPECT_NE(std::string::npos, cache.find("XG")) << cache;
    // Read back from the cache alone.
    out.str("");
    ASSERT_EQ(kCliSuccess, RunCli({"list", folder.Path(), "--no-cache-update"}, out, err));
    EXPECT_NE(std::string::npos, out.str().find("\tXG\t")) << out.str();
}

}  // namespace
