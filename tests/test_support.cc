#include "tests/test_support.h"

#include "update/run_sequence.h"

const char kDiagnosticOn[] = "DOZEGUARDENABLE=1";

int RunProgram(const std::vector<std::string>& arguments,
               const std::vector<std::string>& environment) {
  std::vector<std::string> texts = {"DozeguardEnable.exe"};
  texts.insert(texts.end(), arguments.begin(), arguments.end());
  std::vector<char*> values;
  for (std::string& text : texts) values.push_back(&text[0]);
  values.push_back(nullptr);

  std::string block;
  for (const std::string& entry : environment) block += entry + '\0';
  block += '\0';
  return RunUpdate({static_cast<int>(texts.size()), values.data()},
                   block.c_str());
}

std::vector<std::string> ShownBoxes() {
  std::vector<std::string> shown;
  for (const emulation::MessageBoxRecord& box : emulation::MessageBoxes()) {
    shown.push_back(box.caption + " | " + box.text);
  }
  return shown;
}

std::string ClassKeyPath(int slot) {
  char last[8];
  snprintf(last, sizeof(last), "%04d", slot);
  return std::string(
             "SYSTEM\\CurrentControlSet\\Control\\Class\\"
             "{4D36E972-E325-11CE-BFC1-08002BE10318}\\") +
         last;
}

RunSettings TestSettings(RequestedState state, bool diagnostic,
                         KeyPathScheme scheme) {
  RunSettings settings = {};
  settings.diagnostic = diagnostic;
  settings.owner = emulation::DesktopWindow();
  settings.versionNumber = 501;
  settings.platformId = VER_PLATFORM_WIN32_NT;
  settings.scheme = scheme;
  settings.requestedState = state;
  return settings;
}

std::vector<BYTE> Bytes(const std::string& text) {
  return std::vector<BYTE>(text.begin(), text.end());
}
