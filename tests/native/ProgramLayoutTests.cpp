#include "host/files/ProgramLayout.h"

#include "ProgramImage.h"

#include <gtest/gtest.h>

#include <string>

namespace qv::test {
namespace {

ProgramShape Shape(const std::vector<std::uint8_t>& bytes)
{
    return ShapeOfProgram(BytesInMemory(bytes));
}

std::vector<std::uint8_t> Cut(std::vector<std::uint8_t> bytes, std::size_t size)
{
    bytes.resize(size);
    return bytes;
}

TEST(ProgramShape, OnlyAFileThatHoldsEveryPartItsHeadersNameIsWhole)
{
    const std::vector<std::uint8_t> program = ProgramImage({.sections = {0x400, 0x200}});
    EXPECT_EQ(Shape(program), ProgramShape::Whole);
    EXPECT_EQ(Shape(ProgramImage({.sections = {0x200, 0}})), ProgramShape::Whole) << "a section without raw data";
    // Cut anywhere, even after the headers and the version block in the first section.
    for (const std::size_t size : {program.size() - 1, program.size() / 2, std::size_t{0x200}, std::size_t{0x100},
                                   std::size_t{0x40}, std::size_t{2}}) {
        EXPECT_EQ(Shape(Cut(program, size)), ProgramShape::Incomplete) << size;
    }

    const std::vector<std::uint8_t> withSymbols = ProgramImage({.sections = {0x200}, .symbols = 10});
    EXPECT_EQ(Shape(withSymbols), ProgramShape::Whole);
    EXPECT_EQ(Shape(Cut(withSymbols, withSymbols.size() - 2)), ProgramShape::Incomplete) << "in the string table";

    const std::vector<std::uint8_t> table(24, 0);
    EXPECT_EQ(Shape(ProgramImage({.certificateTable = table})), ProgramShape::Whole);
    EXPECT_EQ(Shape(Cut(ProgramImage({.certificateTable = table}), 0x400 + 8)), ProgramShape::Incomplete);
    std::vector<std::uint8_t> notAtTheEnd = ProgramImage({.certificateTable = table});
    notAtTheEnd.insert(notAtTheEnd.end(), 8, 0);
    EXPECT_EQ(Shape(notAtTheEnd), ProgramShape::Incomplete) << "bytes after the table: it no longer ends the file";
}

TEST(ProgramShape, WhatDoesNotBeginAsAProgramIsNone)
{
    const std::string html = "<!DOCTYPE html><html><body>Bitte melden Sie sich an</body></html>";
    EXPECT_EQ(Shape({html.begin(), html.end()}), ProgramShape::NotAProgram);
    EXPECT_EQ(Shape({}), ProgramShape::NotAProgram);
    EXPECT_EQ(Shape({'M'}), ProgramShape::NotAProgram);

    const std::vector<std::uint8_t> program = ProgramImage();
    const auto changed = [&](std::size_t at, std::uint8_t value) {
        std::vector<std::uint8_t> bytes = program;
        bytes[at] = value;
        return bytes;
    };
    EXPECT_EQ(Shape(changed(1, 'X')), ProgramShape::NotAProgram) << "no MZ";
    EXPECT_EQ(Shape(changed(0x81, 'X')), ProgramShape::NotAProgram) << "no PE signature";
    EXPECT_EQ(Shape(changed(0x98, 0x07)), ProgramShape::NotAProgram) << "an optional header of no known kind";
    EXPECT_EQ(Shape(changed(0x3C, 0x10)), ProgramShape::NotAProgram) << "e_lfanew inside the DOS header";
    std::vector<std::uint8_t> farAway = program;
    Put32(farAway, 0x3C, 0xFFFFFFF0u);
    EXPECT_EQ(Shape(farAway), ProgramShape::Incomplete) << "a signature beyond the end is a cut-off file";
}

}  // namespace
}  // namespace qv::test
