#include "firmware/acceptance.h"

#include <gtest/gtest.h>

#include <map>

#include "test_image.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

std::string Names(const std::vector<firmware::ImageFacts>& images) {
  std::string names;
  for (const auto& image : images) names += (names.empty() ? "" : ",") + image.name;
  return names;
}

const char* ReasonName(firmware::RefusalReason reason) {
  using enum firmware::RefusalReason;
  switch (reason) {
    case unreadable:
      return "unreadable";
    case damaged:
      return "damaged";
    case no_blocks:
      return "no blocks";
    case incomplete_last_block:
      return "incomplete";
    case finish_wait_unreadable:
      return "finish wait";
    case unsupported_family:
      return "unsupported";
    case not_a_script:
      return "not a script";
    case no_begin2:
      return "no begin2";
    case no_image:
      return "no image";
  }
  return "?";
}

// One line that says what the check found, so that a mismatch reads at a glance.
std::string Describe(const firmware::Acceptance& verdict) {
  if (const auto* image = std::get_if<firmware::AcceptedImage>(&verdict)) {
    return "image L " + std::to_string(image->layout.last_block_nr) + " rule " +
           std::to_string(image->family.rule) + (image->fast_baud ? " fast" : "") + " wait " +
           std::to_string(image->finish_wait.value_or(-1));
  }
  if (const auto* script = std::get_if<firmware::AcceptedScript>(&verdict)) {
    return "script " + Names(script->images);
  }
  const auto& refusal = std::get<firmware::Refusal>(verdict);
  return std::string(ReasonName(refusal.reason)) + " " + refusal.file + " line " +
         std::to_string(refusal.line) + " after [" + Names(refusal.passed) + "]" +
         (refusal.image ? " image " + refusal.image->version : "");
}

TEST(Acceptance, ImagesAndScriptsWithTheRefusalThatNamesFileAndLine) {
  Bytes damaged = MakeImage(3 * 1024 + 2, "3M0100003");
  damaged[700] ^= 0x10;
  const std::map<std::string, Bytes> files{
      {"/s/3Mgood.fm0", MakeImage(3 * 1024 + 2, "3M0100001")},
      {"/s/6Mfast.fm0", MakeImage(2 * 1024 + 2, "6M01000010150")},
      {"/s/6Zodd.fm0", MakeImage(2 * 1024 + 2, "6Z010000101x0")},
      {"/s/3Mbad.fm0", damaged},
      {"/s/3Mshort.fm0", MakeImage(2 * 1024 + 16, "3M0100004")},
      {"/s/tiny.fm0", MakeImage(1030, "3M0100005")},
      {"/s/one.fm0", {'1'}},
      {"/s/9Zgood.fm0", MakeImage(2 * 1024 + 2, "3M0100009")},
      {"/s/3M/9Zgood.fm0", MakeImage(2 * 1024 + 2, "3M0100009")},
      {"/t/4Mthere.fm0", MakeImage(2 * 1024, "4M0100001")},
      {"/s/fw/3Mgood.fm0", MakeImage(3 * 1024 + 2, "3M0100001")},
      {"/s/two.fm1", Text("[begin1]\r\n[f]3Mgood.fm0\r\n[HR]\r\n[f]6Mfast.fm0\r\n[begin2]\r\n")},
      {"/s/far.fm1", Text("[begin1]\r\n[f]/t/4Mthere.fm0\r\n[begin2]\r\n")},
      {"/s/none.fm1", Text("[begin1]\r\n[end1]\r\n[begin2]\r\n")},
      {"/s/late.fm1", Text("[begin1]\r\n[end1]\r\n[begin2]\r\n[f]3Mgood.fm0\r\n")},
      {"/s/sub.fm1", Text("[begin1]\r\n[f]fw/3Mgood.fm0\r\n[begin2]\r\n")},
      {"/s/9Z.fm1", Text("[begin1]\r\n[f]3M/9Zgood.fm0\r\n[begin2]\r\n")},
      {"/s/bad.FM1", Text("[begin1]\r\n[f]3Mgood.fm0\r\n[t1]\r\n[f]3Mbad.fm0\r\n[begin2]\r\n")},
      {"/s/unsup.fm1", Text("[begin1]\r\n[f]9Zgood.fm0\r\n[begin2]\r\n")},
      {"/s/open.fm1", Text("[begin1]\r\n[f]3Mgood.fm0\r\n[end1]\r\n")},
      {"/s/lf.fm1", Text("[begin1]\n[begin2]\n")},
      {"/s/alien.fm1", Text("[Begin1]\r\n[begin2]\r\n")},
  };
  const auto read = [&files](const std::string& path) -> std::optional<Bytes> {
    const auto found = files.find(path);
    if (found == files.end()) return std::nullopt;
    return found->second;
  };
  const std::pair<const char*, std::string> cases[] = {
      {"/s/3Mgood.fm0", "image L 2 rule 1 wait 0"},
      {"/s/6Mfast.fm0", "image L 1 rule 3 fast wait 150"},
      // The finish wait is read before the family is looked up.
      {"/s/6Zodd.fm0", "finish wait /s/6Zodd.fm0 line 0 after [] image 6Z0100001"},
      {"/s/3Mbad.fm0", "damaged /s/3Mbad.fm0 line 0 after [] image 3M0100003"},
      {"/s/3Mshort.fm0", "incomplete /s/3Mshort.fm0 line 0 after [] image 3M0100004"},
      {"/s/tiny.fm0", "no blocks /s/tiny.fm0 line 0 after [] image 3M0100005"},
      {"/s/one.fm0", "unreadable /s/one.fm0 line 0 after [] image 1"},
      {"/s/gone.fm0", "unreadable /s/gone.fm0 line 0 after [] image "},
      {"/s/two.fm1", "script 3Mgood.fm0,6Mfast.fm0"},
      // An absolute name is read where it points; a folder in front of a name starts
      // from the script's folder; the file's own name carries the family code.
      {"/s/far.fm1", "script /t/4Mthere.fm0"},
      {"/s/sub.fm1", "script fw/3Mgood.fm0"},
      {"/s/9Z.fm1", "unsupported 3M/9Zgood.fm0 line 2 after [] image 3M0100009"},
      // Nothing to download: no link would be chosen.
      {"/s/none.fm1", "no image /s/none.fm1 line 0 after []"},
      {"/s/late.fm1", "no image /s/late.fm1 line 0 after []"},
      {"/s/bad.FM1", "damaged 3Mbad.fm0 line 4 after [3Mgood.fm0] image 3M0100003"},
      // A script's image takes its family from its name.
      {"/s/unsup.fm1", "unsupported 9Zgood.fm0 line 2 after [] image 3M0100009"},
      {"/s/open.fm1", "no begin2 /s/open.fm1 line 0 after [3Mgood.fm0]"},
      {"/s/lf.fm1", "no begin2 /s/lf.fm1 line 0 after []"},
      {"/s/alien.fm1", "not a script /s/alien.fm1 line 0 after []"},
      {"/s/gone.fm1", "unreadable /s/gone.fm1 line 0 after []"},
  };
  for (const auto& [path, want] : cases) {
    EXPECT_EQ(Describe(firmware::AcceptFile(path, read)), want) << path;
  }
}

}  // namespace
