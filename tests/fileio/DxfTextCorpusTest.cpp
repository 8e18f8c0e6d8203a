// Every text of the corpus files and of drawings made with ezdxf (Unicode in R2013, Cyrillic,
// Greek and Polish code pages, every justification, multi-line codes) reads as the string ezdxf
// reads, and the files Kestrel saves give the same strings back. ezdxf decodes fewer codes than
// Kestrel; the table below lists where the two differ in what they show, and the comparison
// applies it to Kestrel's side.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "drawing/Drawing.h"
#include "entities/MText.h"
#include "entities/TextCodes.h"
#include "fileio/DxfTestSupport.h"
#include "fileio/dxf/DxfLoad.h"
#include "fileio/dxf/DxfSave.h"

namespace {

const std::string kDxfDir = std::string(KESTREL_TEST_DATA_DIR) + "/dxf";
const std::string kOut = std::string(KESTREL_TEST_OUTPUT_DIR) + "/text-corpus";

// What Kestrel shows -> what ezdxf 0.18's plain_text() gives for the same code.
const std::pair<const char*, const char*> kShownDifferently[] = {
    {"\xe2\x8c\x80", "\xc3\x98"},  // %%c: the diameter sign; ezdxf gives a capital O with stroke
};

using Texts = std::vector<std::pair<std::string, std::string>>;  // type, shown

std::string script() {
    return std::string(KESTREL_PYTHON3) + " " + KESTREL_SOURCE_DIR + "/tests/fileio/ezdxf_texts.py";
}

// The texts ezdxf reads, by file.
std::map<std::string, Texts> ezdxfTexts(const std::vector<std::string>& files) {
    std::string command = script() + " strings";
    for (const std::string& f : files)
        command += " '" + f + "'";
    int status = 0;
    const std::string out = RunCommand(command, status);
    std::map<std::string, Texts> result;
    std::size_t start = 0;
    while (start < out.size()) {
        std::size_t end = out.find('\n', start);
        if (end == std::string::npos) end = out.size();
        const auto line = nlohmann::json::parse(out.substr(start, end - start), nullptr, false);
        start = end + 1;
        if (line.is_discarded() || !line.contains("file")) continue;
        Texts& texts = result[line["file"].get<std::string>()];
        for (const auto& t : line["texts"])
            texts.emplace_back(t[0].get<std::string>(), t[1].get<std::string>());
    }
    return result;
}

std::string asEzdxfShowsIt(std::string s) {
    for (const auto& [ours, theirs] : kShownDifferently)
        for (std::size_t at; (at = s.find(ours)) != std::string::npos;)
            s.replace(at, std::string_view(ours).size(), theirs);
    return s;
}

Texts kestrelTexts(const mmDrawing& d) {
    Texts texts;
    for (const mmObjectPtr& e : d.entities) {
        if (e->type == kTypeText)
            texts.emplace_back(
                "TEXT",
                asEzdxfShowsIt(DecodeTextSpecials(static_cast<const mmText&>(*e).String())));
        else if (e->type == kTypeMText)
            texts.emplace_back(
                "MTEXT", asEzdxfShowsIt(MTextPlainText(static_cast<const mmMText&>(*e).String())));
    }
    return texts;
}

}  // namespace

TEST(DxfTextCorpus, TextsReadAsEzdxfReadsThemAndComeBackFromASave) {
    if (std::string(KESTREL_PYTHON3).find("NOTFOUND") != std::string::npos)
        GTEST_SKIP() << "python3 is not installed";
    int status = 0;
    std::filesystem::create_directories(kOut);
    const std::string made = RunCommand(script() + " make '" + kOut + "'", status);
    if (WEXITSTATUS(status) == 77) GTEST_SKIP() << made;
    ASSERT_EQ(status, 0) << made;
    std::vector<std::string> files;
    for (std::size_t start = 0, end; (end = made.find('\n', start)) != std::string::npos;
         start = end + 1)
        files.push_back(made.substr(start, end - start));
    const bool corpus = std::filesystem::is_directory(kDxfDir);
    if (corpus) {
        for (const auto& entry : std::filesystem::directory_iterator(kDxfDir))
            if (entry.path().extension() == ".dxf") files.push_back(entry.path().string());
    } else {
        std::printf("corpus not found, only the drawings made with ezdxf: %s\n", kDxfDir.c_str());
    }

    std::vector<std::string> saved;
    std::map<std::string, Texts> ours;
    for (const std::string& f : files) {
        mmDrawing d;
        FillNewDrawing(d);
        ASSERT_TRUE(loadDrawingFromDxf(d, nullptr, f, nullptr)) << f;
        ours[f] = kestrelTexts(d);
        const std::string copy = kOut + "/saved-" + std::filesystem::path(f).filename().string();
        ASSERT_TRUE(saveDrawingAsDxf(d, nullptr, copy)) << f;
        saved.push_back(copy);
    }
    const auto theirs = ezdxfTexts(files);
    const auto back = ezdxfTexts(saved);
    std::size_t compared = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(files[i]);
        ASSERT_TRUE(theirs.count(files[i]));
        EXPECT_EQ(ours[files[i]], theirs.at(files[i]));
        ASSERT_TRUE(back.count(saved[i]));
        EXPECT_EQ(back.at(saved[i]), theirs.at(files[i])) << "after a save";
        compared += ours[files[i]].size();
    }
    // The drawings made here hold some twenty texts, the corpus as many again.
    EXPECT_GT(compared, corpus ? 40u : 20u);
}
