// A program that does nothing but carry a version record listing two translations, so
// that the tests can read such a record from a real executable.
#include "VersionRecordWriter.h"

namespace {

constexpr std::vector<unsigned char> buildRecord() {
  versionrecord::RecordWriter record;
  record.begin("StringFileInfo");
  record.begin("040704E4");
  record.text("FileVersion", "1.11.2.30");
  record.end();
  record.begin("040904B0");
  record.text("FileVersion", "2.0.0.1");
  record.end();
  record.end();
  record.begin("VarFileInfo");
  record.words("Translation", {0x0409, 0x04B0, 0x0407, 0x04E4});
  record.end();
  return record.finish();
}

}  // namespace

KEL_VERSION_RECORD_SECTION constexpr auto kRecord = versionrecord::ToArray<buildRecord>();

int main() { return 0; }
