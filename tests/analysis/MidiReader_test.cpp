// The MIDI reader on files from other projects' test suites (what those
// projects assert about names, tempo, metre and key) and on hand-made files
// with the faults and corner cases real collections hold.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "TestPaths.h"
#include "analysis/SongInfo.h"
#include "analysis/SongReaders.h"
#include "core/Text.h"

namespace {

// Counts the reads that reach the file.
class CountingSongFile : public MemorySongFile {
   public:
    using MemorySongFile::MemorySongFile;
    bool Read(void* buffer, uint32_t n, uint32_t* count) override {
        ++reads;
        return MemorySongFile::Read(buffer, n, count);
    }
    int reads = 0;
};

struct MidiRead {
    int32_t result;
    std::string title;  // trimmed as the song list shows it
    int reads;
};

MidiRead ReadMidi(const std::string& path, SongInfo* info, bool titleSearch) {
    const std::string bytes = ReadWholeFile(path);
    EXPECT_FALSE(bytes.empty()) << path;
    CountingSongFile file(bytes.data(), uint32_t(bytes.size()));
    char title[kTitleBufferBytes];
    std::snprintf(title, sizeof(title), "%s", path.c_str());  // the path on entry, as the caller passes it
    const int32_t result = ReadMidiFile(file, info, title, titleSearch);
    if (result < 0) {
        return {result, "", file.reads};
    }
    TrimTitle(size_t(result), title);
    return {result, title, file.reads};
}

std::string Corpus(const char* rel) {
    return CorpusPath(std::string("midi/") + rel);
}

std::string Fixture(const char* rel) {
    return TestDataPath(std::string("midi/") + rel);
}

std::string TrackName(const SongInfo& info, int row) {
    const char* name = info.trackNames.Read(row, 0);
    return name ? name : "<no row>";
}

TEST(MidiReader, ListTitleIsTheFirstTextEvent) {
    struct Case {
        std::string path;
        bool titleSearch;
        std::string title;
    };
    const Case cases[] = {
        {Corpus("tonejs/bach/bach_847.mid"), false,
         "Das wohltemperierte Klavier I - Praeludium und Fuge 2 in c-Moll BWV 847"},
        {Corpus("tonejs/bach/bach_format0.mid"), false, "Piano right"},  // stored with a NUL
        {Corpus("tonejs/debussy/claire_de_lune.mid"), true, "Suite bergamasque"},
        {Corpus("tonejs/debussy/childrens_corner_1.mid"), true, "Debussy: Childrens Corner 1"},
        {Corpus("tonejs/beat.mid"), true, "untitled"},
        {Corpus("tonejs/bartok/concerto_for_orchestra_1.mid"), true, "Piccolo"},
        {Corpus("drywetmidi/Valid/MultiSequence/Small/tesb_impmarch_slow.mid"), true, "Seq-1"},
        {Corpus("drywetmidi/Valid/MultiTrack/Small/gouryella__tenshi_v2__bamford.mid"), true, "New MIDI Track"},
        {Corpus("drywetmidi/Valid/SingleTrack/Small/119ReverseCymbal.mid"), false, "RevCymbl"},
        // Every delta time and meta length is a 4-byte quantity.
        {Corpus("jzz/0.mid"), true, "4-Byte VLQ"},
        // MacBinary header in front; the conductor track has no name, the next track does.
        {Corpus("jzz/2.mid"), true, "Piano"},
        {Corpus("jzz/2.mid"), false, ""},
        // Marker and cue point events (0x08, 0x0A) are no titles.
        {Corpus("tonejs/joplin/TheEntertainer.mid"), true, ""},
        {Corpus("midly/Clementi.mid"), true, ""},
        {Corpus("tonejs/pitchBendTest.mid"), true, ""},
        {Corpus("drywetmidi/Valid/MultiTrack/Small/xavier_rudd-no_woman_no_cry.mid"), true, ""},
        // The name lies in the third track, beyond the two list mode looks at.
        {Corpus("midly/PiDamaged.mid"), true, ""},
        {Fixture("title-in-third-track.mid"), true, ""},
        // RMID titles come from the second DISP chunk only.
        {Corpus("midly/Beethoven.rmi"), true, "Beethoven's Fifth Symphony"},
        {Corpus("midly/Beethoven.rmi"), false, "Beethoven's Fifth Symphony"},
        {Corpus("spessasynth/unreeeal-superhero-3.rmi"), true, ""},
        {Fixture("single-disp.rmi"), true, ""},
        {Fixture("crlf-title.mid"), true, "CRLF Title"},
        {Fixture("instrument-name-only.mid"), true, ""},
    };
    for (const Case& c : cases) {
        const MidiRead read = ReadMidi(c.path, nullptr, c.titleSearch);
        EXPECT_GE(read.result, 0) << c.path;
        EXPECT_EQ(read.title, c.title) << c.path << " titleSearch " << c.titleSearch;
    }
}

TEST(MidiReader, TitleSearchStepsOverAtMost150ChannelMessages) {
    struct Case {
        const char* fixture;
        bool titleSearch;
        std::string title;
    };
    const Case cases[] = {
        {"title-after-first-note.mid", false, ""},
        {"title-after-first-note.mid", true, "Late title"},
        {"title-after-150-messages.mid", true, "Just in time"},
        {"title-after-151-messages.mid", true, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadMidi(Fixture(c.fixture), nullptr, c.titleSearch).title, c.title) << c.fixture;
    }
    SongInfo info;
    EXPECT_EQ(ReadMidi(Fixture("title-after-151-messages.mid"), &info, false).title, "");
    EXPECT_EQ(ReadMidi(Fixture("title-after-150-messages.mid"), &info, false).title, "Just in time");
}

TEST(MidiReader, ShiftJisTitlesKeepTheirBytes) {
    const MidiRead read = ReadMidi(Fixture("sjis-5c-title.mid"), nullptr, true);
    EXPECT_EQ(read.title, "表示ソフト能力テスト");
    EXPECT_EQ(ReadMidi(Fixture("sjis-disp.rmi"), nullptr, true).title, "ソフト表示");
    // 300 bytes of "表": the reader stores 255, the trim drops the lone lead byte.
    const MidiRead cut = ReadMidi(Fixture("long-sjis-title.mid"), nullptr, true);
    EXPECT_EQ(cut.result, 255);
    std::string expected;
    for (int i = 0; i < 127; ++i) {
        expected += "表";
    }
    EXPECT_EQ(cut.title, expected);
}

TEST(MidiReader, DamagedFilesGiveWhatIsThere) {
    struct Case {
        std::string path;
        int32_t result;
        std::string title;
    };
    const Case cases[] = {
        {Fixture("truncated-track.mid"), 9, "Truncated"},
        {Fixture("track-length-past-end.mid"), 10, "Huge Track"},
        {Corpus("drywetmidi/Invalid/UnknownFileFormat/possible.mid"), kReadUnsupported, ""},
    };
    for (const Case& c : cases) {
        for (bool full : {false, true}) {
            SongInfo info;
            const MidiRead read = ReadMidi(c.path, full ? &info : nullptr, true);
            EXPECT_EQ(read.result, c.result) << c.path << " full " << full;
            EXPECT_EQ(read.title, c.title) << c.path << " full " << full;
        }
    }
    SongInfo info;
    ReadMidi(Fixture("track-length-past-end.mid"), &info, true);
    EXPECT_EQ(info.trackCount, 2);
    EXPECT_EQ(info.shownTracks, 2);
    EXPECT_EQ(info.channels[0], 1);
    EXPECT_EQ(TrackName(info, 1), "");
}

TEST(MidiReader, HeadersFoundAtTheirThreePlaces) {
    struct Case {
        std::string bytes;
        int32_t result;
    };
    const std::string track = std::string("MTrk\0\0\0\x08\0\xFF\x03\x01X\0\xFF\x2F\0", 17);
    const std::string header = std::string("MThd\0\0\0\x06\0\0\0\x01\0\x60", 14);
    std::string format3 = header;
    format3[9] = 3;
    const Case cases[] = {
        {header + track, 1},
        {std::string(128, 'M') + header + track, 1},
        {std::string(127, 'M') + header + track, kReadUnsupported},
        {format3 + track, kReadUnsupported},
        {std::string("RIFF\0\0\0\0RMIDdata\0\0\0\0", 20) + header + track, 0},
        {std::string("RIFF\0\0\0\0RMIDdata\0\0\0\0", 20), kReadUnsupported},
        {header.substr(0, 9), kReadUnsupported},
        {"", kReadUnsupported},
    };
    for (const Case& c : cases) {
        MemorySongFile file(c.bytes.data(), uint32_t(c.bytes.size()));
        char title[kTitleBufferBytes] = {};
        EXPECT_EQ(ReadMidiFile(file, nullptr, title, true), c.result) << c.bytes.size();
    }
}

TEST(MidiReader, SongDetailsOfRealFiles) {
    SongInfo info;
    // Conductor track dropped: nine tracks shown, names from the first note track.
    EXPECT_EQ(ReadMidi(Corpus("tonejs/bach/bach_847.mid"), &info, false).title,
              "Das wohltemperierte Klavier I - Praeludium und Fuge 2 in c-Moll BWV 847");
    EXPECT_EQ(info.format, 1);
    EXPECT_EQ(info.trackCount, 9);
    EXPECT_EQ(info.shownTracks, 9);
    EXPECT_EQ(info.trackNames.Count(), 9);
    EXPECT_EQ(TrackName(info, 0), "Piano right");
    EXPECT_EQ(TrackName(info, 2), "Fuga 1");
    EXPECT_EQ(info.timeBase, 480);
    EXPECT_EQ(info.tempo, 122);  // 489796 microseconds per quarter note
    EXPECT_STREQ(KeyName(info.key), "Eb Major");
    EXPECT_EQ(info.beatsPerBar, 4);
    EXPECT_EQ(info.beatUnit, 4);
    EXPECT_STREQ(info.copyright, "Copyright \xA9 1997 von Bernd Kr\xFCger.");
    EXPECT_EQ(info.channels[0], 0);
    EXPECT_STREQ(info.secondText, "");

    // One note track after the conductor, drums on channel 10 (9 counted from 0).
    ReadMidi(Corpus("tonejs/beat.mid"), &info, true);
    EXPECT_EQ(info.shownTracks, 1);
    EXPECT_EQ(info.trackCount, 1);
    EXPECT_EQ(TrackName(info, 0), "Track 1");
    EXPECT_EQ(info.channels[0], 9);
    EXPECT_EQ(info.tempo, 100);

    ReadMidi(Corpus("tonejs/debussy/claire_de_lune.mid"), &info, true);
    EXPECT_EQ(info.beatsPerBar, 9);
    EXPECT_EQ(info.beatUnit, 8);
    EXPECT_EQ(info.tempo, 100);
    EXPECT_STREQ(KeyName(info.key), "Db Major");  // the first key signature, five flats

    // No conductor-only track: nothing is dropped; track 0 plays and sets port 2.
    ReadMidi(Corpus("tonejs/bartok/concerto_for_orchestra_1.mid"), &info, true);
    EXPECT_EQ(info.trackCount, 36);
    EXPECT_EQ(info.shownTracks, 36);
    EXPECT_EQ(TrackName(info, 0), "Piccolo");
    EXPECT_EQ(info.beatsPerBar, 3);
    EXPECT_EQ(info.ports[0], 2);

    // The tempo sits in the second track.
    ReadMidi(Corpus("drywetmidi/Valid/MultiTrack/Small/Heatbeat_-_Hadoken__trancer97_20120918022529.mid"), &info, true);
    EXPECT_EQ(info.tempo, 136);  // 441176 microseconds
    EXPECT_EQ(info.timeBase, 96);

    ReadMidi(Corpus("drywetmidi/Valid/MultiTrack/Small/Ewhole.mid"), &info, true);
    EXPECT_EQ(info.shownTracks, 1);
    EXPECT_EQ(TrackName(info, 0), "guitar");
    EXPECT_EQ(info.tempo, 100);

    // Format 0: one track, no channels or ports recorded.
    ReadMidi(Corpus("drywetmidi/Valid/SingleTrack/Small/12str.mid"), &info, true);
    EXPECT_EQ(info.format, 0);
    EXPECT_EQ(info.shownTracks, 1);
    EXPECT_EQ(info.tempo, 120);
    EXPECT_STREQ(KeyName(info.key), "C Major");
    EXPECT_EQ(info.channels[0], 0xFF);
}

TEST(MidiReader, SongDetailsOfDamagedAndRiffFiles) {
    SongInfo info;
    // Thirty tracks declared, the file ends inside the third one.
    EXPECT_EQ(ReadMidi(Corpus("midly/PiDamaged.mid"), &info, true).title, "MIDI out #28");
    EXPECT_EQ(info.trackCount, 29);
    EXPECT_EQ(info.shownTracks, 29);
    EXPECT_EQ(info.trackNames.Count(), 29);
    EXPECT_EQ(TrackName(info, 1), "MIDI out #28");
    EXPECT_EQ(info.tempo, 229);  // 260874 microseconds

    ReadMidi(Corpus("midly/SysExTest.mid"), &info, true);
    EXPECT_EQ(info.shownTracks, 2);
    EXPECT_EQ(info.trackNames.Count(), 2);

    EXPECT_EQ(ReadMidi(Corpus("midly/Beethoven.rmi"), &info, true).title, "Beethoven's Fifth Symphony");
    EXPECT_STREQ(info.copyright, "1995 Midisoft Corporation");
    EXPECT_EQ(info.trackCount, 14);
    EXPECT_EQ(TrackName(info, 0), "Flute");
    EXPECT_EQ(info.timeBase, 240);

    // A DISP-less RMID: the title event in the MIDI data does not count.
    EXPECT_EQ(ReadMidi(Corpus("spessasynth/unreeeal-superhero-3.rmi"), &info, true).title, "");
    EXPECT_STREQ(info.copyright, "Created using SpessaSynth");

    EXPECT_EQ(ReadMidi(Fixture("single-disp.rmi"), &info, true).title, "");
    EXPECT_STREQ(info.copyright, "(c) Single");
}

TEST(MidiReader, SongDetailsOfHandMadeFiles) {
    SongInfo info;
    EXPECT_EQ(ReadMidi(Fixture("conductor-format1.mid"), &info, true).title, "Conductor Song");
    EXPECT_EQ(info.trackCount, 1);
    EXPECT_EQ(info.shownTracks, 1);
    EXPECT_EQ(TrackName(info, 0), "Lead");
    EXPECT_EQ(info.channels[0], 2);
    EXPECT_EQ(info.tempo, 150);
    EXPECT_EQ(info.key, 27);
    EXPECT_STREQ(KeyName(info.key), "C Minor");
    EXPECT_EQ(info.beatsPerBar, 6);
    EXPECT_EQ(info.beatUnit, 8);

    // An instrument name names the track but is never the title; a copyright neither.
    EXPECT_EQ(ReadMidi(Fixture("instrument-name-only.mid"), &info, true).title, "");
    EXPECT_EQ(TrackName(info, 0), "Piano");
    EXPECT_STREQ(info.copyright, "(C) Copyright only");

    // Tempo 0, a time signature exponent of 0 and a key byte of -128 must not stop the reader.
    ReadMidi(Fixture("odd-meta-values.mid"), &info, true);
    EXPECT_EQ(info.tempo, 120);
    EXPECT_EQ(info.beatsPerBar, 3);
    EXPECT_EQ(info.beatUnit, 1);
    EXPECT_STREQ(KeyName(info.key), "");
}

TEST(MidiReader, ListModeReadsTheHeadOnce) {
    const char* files[] = {"tonejs/bach/bach_847.mid", "jzz/2.mid", "tonejs/bartok/concerto_for_orchestra_1.mid"};
    for (const char* rel : files) {
        EXPECT_EQ(ReadMidi(Corpus(rel), nullptr, true).reads, 1) << rel;
    }
}

TEST(MidiReader, KeyNamesCoverEveryCode) {
    const struct {
        int32_t key;
        const char* name;
    } cases[] = {{-1, ""},        {0, "C Major"},  {8, "C Major"},  {7, "C# Major"},  {9, "F Major"}, {15, "Cb Major"},
                 {16, "A Minor"}, {24, "A Minor"}, {27, "C Minor"}, {31, "Ab Minor"}, {32, ""},       {136, ""}};
    for (const auto& c : cases) {
        EXPECT_STREQ(KeyName(c.key), c.name) << c.key;
    }
}

}  // namespace
