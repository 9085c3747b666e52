// Every kova and imagorix command the README shows as an example runs, in
// the README's order, in a folder holding the files it names, and succeeds.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "image/img.h"
#include "image/imgbin.h"
#include "image/leimp.h"
#include "support/files.h"
#include "video/avi.h"
#include "video/i3d.h"
#include "video/leimp.h"

using namespace imagorix;
using namespace testsupport;

namespace {

// A usage line or a mention rather than an example: it names what the reader
// fills in (FILE, IN, OUT, KEY, CLASS), shows optional parts in brackets, or
// names a mode without its arguments ("kova v").
bool modelo(const std::string& c) {
  std::istringstream palavras(c);
  std::string p;
  int n = 0;
  while (palavras >> p) {
    ++n;
    if (p.size() >= 2 && std::all_of(p.begin(), p.end(), [](char x) { return x >= 'A' && x <= 'Z'; })) return true;
  }
  return c.find('[') != std::string::npos || n < 3;
}

// Whether c runs kova or imagorix, maybe fed by "cat FILE |", or makes the
// key file the secure mode's examples use.
bool roda_programa(std::string c) {
  if (c.starts_with("head -c ") && c.ends_with(".key")) return true;
  if (c.starts_with("cat ") && c.find('|') != std::string::npos) {
    c.erase(0, c.find('|') + 1);
    c.erase(0, c.find_first_not_of(' '));
  }
  if (c.starts_with("build/tool/")) c.erase(0, 11);
  return c.starts_with("kova ") || c.starts_with("imagorix ");
}

// Commands in indented code lines and in `quoted` spans of the README that
// run kova or imagorix, in order, without their comments.
std::vector<std::string> exemplos(const std::string& readme) {
  std::vector<std::string> v;
  auto considera = [&](std::string c) {
    if (const auto k = c.find(" #"); k != std::string::npos) c.erase(k);
    while (!c.empty() && c.back() == ' ') c.pop_back();
    if (roda_programa(c) && !modelo(c)) v.push_back(c);
  };
  std::size_t i = 0;
  while (i < readme.size()) {
    std::size_t fim = readme.find('\n', i);
    if (fim == std::string::npos) fim = readme.size();
    const std::string linha = readme.substr(i, fim - i);
    if (linha.starts_with("    ")) {
      considera(linha.substr(4));
    } else {
      for (std::size_t a = linha.find('`'); a != std::string::npos; a = linha.find('`', a)) {
        const std::size_t b = linha.find('`', a + 1);
        if (b == std::string::npos) break;
        considera(linha.substr(a + 1, b - a - 1));
        a = b + 1;
      }
    }
    i = fim + 1;
  }
  return v;
}

}  // namespace

TEST(Readme, EveryExampleRuns) {
  const std::string readme = read_text(std::string(IMAGORIX_SOURCE_DIR) + "/README.md");
  ASSERT_FALSE(readme.empty());
  const std::vector<std::string> casos = exemplos(readme);
  // The ones the README must show, so that a change of its layout cannot
  // leave this test with nothing to run.
  for (const char* esperado : {"kova s page.bmp", "kova v ", "imagorix convert scan.pgm scan.bmp",
                               "| build/tool/kova s /dev/stdin", "imagorix convert /dev/stdin",
                               "kova v 1234 piped.bmp piped.bmp", "kova s page.bmp @page.key",
                               "kova v @page.key", "imagorix convert clip.avi frames",
                               "imagorix convert frames clip2.avi"}) {
    bool achou = false;
    for (const std::string& c : casos) achou = achou || c.find(esperado) != std::string::npos;
    EXPECT_TRUE(achou) << esperado;
  }

  // The folder: the programs where the README says they are built, a page
  // and a grey scan of it.
  const std::string dir = scratch_path("readme/");
  std::filesystem::create_directories(dir + "build/tool");
  std::filesystem::create_symlink(KOVA_EXE, dir + "build/tool/kova");
  std::filesystem::create_symlink(IMAGORIX_EXE, dir + "build/tool/imagorix");
  std::filesystem::copy_file(std::string(IMAGORIX_SOURCE_DIR) + "/sample/page.bmp", dir + "page.bmp");
  IMGBIN pagina;
  le(pagina, dir + "page.bmp");
  IMGGRY scan(pagina);
  for (int l = 0; l < scan.nl(); ++l)
    for (int c = 0; c < scan.nc(); ++c) scan(l, c) = scan(l, c) ? BYTE(230 - (l + c) % 40) : BYTE(20 + c % 60);
  imp(scan, dir + "scan.pgm");
  // A short colour clip.
  I3DCOR clip(3, 4, 6);
  for (int f = 0; f < 3; ++f) clip(f).preenche(COR{BYTE(80 * f), 40, 200});
  ImpAvi(clip, dir + "clip.avi");

  for (const std::string& c : casos) {
    const RunResult r =
        run_program("/bin/sh", {"-c", "cd '" + dir + "' && PATH=\"$PWD/build/tool:$PATH\" && " + c});
    EXPECT_EQ(r.status, 0) << c << "\n" << r.err;
  }
  // The scan was thresholded, not refused, and the signed page came back.
  IMGBIN b;
  le(b, dir + "scan.bmp");
  EXPECT_EQ(b.nl(), pagina.nl());
  EXPECT_EQ(read_bytes(dir + "restored.bmp"), read_bytes(dir + "page.bmp"));
  // Signed from a pipe, then restored over itself.
  EXPECT_EQ(read_bytes(dir + "piped.bmp"), read_bytes(dir + "page.bmp"));
  // The clip went to TGA files and came back the same video.
  EXPECT_TRUE(exists(dir + "frames002.tga"));
  EXPECT_EQ(read_bytes(dir + "clip2.avi"), read_bytes(dir + "clip.avi"));
}
