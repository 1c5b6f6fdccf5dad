// Test helper for the Wine end-to-end tests: loads a registry fixture, dumps
// what became of it and removes it again. It runs inside the Wine prefix, so
// it sees exactly the registry the program under test sees.
//
//   regfixture load FILE    create the keys and values FILE lists
//   regfixture dump FILE    print each listed key's values as FILE's lines
//   regfixture clear PATH   delete the key tree at PATH (under HKLM)
//   regfixture desktop      print the desktop window's handle in hex
//
// Several commands may follow one another in one call. FILE lines, fields
// separated by tabs, paths relative to HKEY_LOCAL_MACHINE:
//   key    PATH                  the key the next lines speak of
//   value  NAME  TYPE  HEX       a value of that key (HEX may be empty)
//   deny                         give the key an empty DACL: opens refused
//   version  NAME                Wine's Windows version for the program
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

namespace {

std::vector<std::vector<std::string>> ReadLines(const char* file) {
  std::vector<std::vector<std::string>> lines;
  FILE* in = fopen(file, "rb");
  if (in == nullptr) {
    fprintf(stderr, "regfixture: cannot read %s\n", file);
    exit(3);
  }
  char buffer[4096];
  while (fgets(buffer, sizeof(buffer), in) != nullptr) {
    std::string line(buffer);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
      line.pop_back();
    }
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t tab; (tab = line.find('\t', start)) != std::string::npos;
         start = tab + 1) {
      fields.push_back(line.substr(start, tab - start));
    }
    fields.push_back(line.substr(start));
    lines.push_back(fields);
  }
  fclose(in);
  return lines;
}

void Fail(const char* what, const std::string& path, LONG status) {
  fprintf(stderr, "regfixture: %s %s: status %ld\n", what, path.c_str(),
          status);
  exit(3);
}

std::vector<BYTE> FromHex(const std::string& hex) {
  std::vector<BYTE> bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(
        static_cast<BYTE>(strtoul(hex.substr(i, 2).c_str(), nullptr, 16)));
  }
  return bytes;
}

// Sets the key's DACL: an empty one refuses every open that asks for access;
// none at all (null) allows everything again.
void SetDacl(HKEY key, bool empty, const std::string& path) {
  SECURITY_DESCRIPTOR descriptor;
  ACL acl;
  InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
  InitializeAcl(&acl, sizeof(acl), ACL_REVISION);
  SetSecurityDescriptorDacl(&descriptor, TRUE, empty ? &acl : nullptr, FALSE);
  LONG status = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor);
  if (status != ERROR_SUCCESS) Fail("set DACL of", path, status);
}

void Load(const char* file) {
  HKEY key = nullptr;
  std::string path;
  for (const auto& f : ReadLines(file)) {
    LONG status = ERROR_SUCCESS;
    if (f[0] == "key" && f.size() == 2) {
      if (key != nullptr) RegCloseKey(key);
      path = f[1];
      status = RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0,
                               KEY_ALL_ACCESS, nullptr, &key, nullptr);
      if (status != ERROR_SUCCESS) Fail("create", path, status);
    } else if (f[0] == "value" && f.size() == 4 && key != nullptr) {
      std::vector<BYTE> data = FromHex(f[3]);
      DWORD size = static_cast<DWORD>(data.size());
      // RegSetValueExA counts a NUL that follows text in memory; a non-NUL
      // byte after the data keeps the fixture's bytes exact.
      data.push_back(0xFF);
      status =
          RegSetValueExA(key, f[1].c_str(), 0,
                         strtoul(f[2].c_str(), nullptr, 0), data.data(), size);
      if (status != ERROR_SUCCESS) Fail("set value in", path, status);
    } else if (f[0] == "deny" && key != nullptr) {
      SetDacl(key, true, path);
    } else if (f[0] == "version" && f.size() == 2) {
      HKEY defaults;
      const char* where = "Software\\Wine\\AppDefaults\\DozeguardEnable.exe";
      status = RegCreateKeyExA(HKEY_CURRENT_USER, where, 0, nullptr, 0,
                               KEY_ALL_ACCESS, nullptr, &defaults, nullptr);
      if (status != ERROR_SUCCESS) Fail("create", where, status);
      RegSetValueExA(defaults, "Version", 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(f[1].c_str()),
                     static_cast<DWORD>(f[1].size() + 1));
      RegCloseKey(defaults);
    } else if (!f[0].empty()) {
      fprintf(stderr, "regfixture: bad line starting %s\n", f[0].c_str());
      exit(3);
    }
  }
  if (key != nullptr) RegCloseKey(key);
}

// Prints the key's values as they are stored. Values are read with the
// Unicode call: Wine keeps text as UTF-16, and the ANSI call would add a NUL
// to text written without one, hiding the byte count the program wrote.
void DumpKey(const std::string& path) {
  HKEY key;
  LONG status =
      RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key);
  if (status != ERROR_SUCCESS) {
    printf("key\t%s\tstatus %ld\n", path.c_str(), status);
    return;
  }
  printf("key\t%s\n", path.c_str());
  for (DWORD index = 0;; ++index) {
    wchar_t name[256];
    BYTE data[4096];
    DWORD nameLength = 256, type = 0, size = sizeof(data);
    if (RegEnumValueW(key, index, name, &nameLength, nullptr, &type, data,
                      &size) != ERROR_SUCCESS) {
      break;
    }
    printf("value\t%ls\t%lu\t", name, type);
    for (DWORD i = 0; i < size; ++i) printf("%02x", data[i]);
    printf("\n");
  }
  RegCloseKey(key);
}

void Dump(const char* file) {
  for (const auto& f : ReadLines(file)) {
    if (f[0] == "key" && f.size() == 2) DumpKey(f[1]);
  }
}

void Clear(const std::string& path) {
  HKEY key;
  // A denied key gets its DACL back first; its owner may always change it.
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, WRITE_DAC, &key) ==
      ERROR_SUCCESS) {
    SetDacl(key, false, path);
    RegCloseKey(key);
  }
  LONG status = RegDeleteTreeA(HKEY_LOCAL_MACHINE, path.c_str());
  if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, path.c_str());
    return;
  }
  Fail("delete", path, status);
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    std::string command = argv[i];
    bool hasOperand = i + 1 < argc;
    if (command == "desktop") {
      printf("desktop\t%llx\n",
             static_cast<unsigned long long>(
                 reinterpret_cast<ULONG_PTR>(GetDesktopWindow())));
    } else if (command == "load" && hasOperand) {
      Load(argv[++i]);
    } else if (command == "dump" && hasOperand) {
      Dump(argv[++i]);
    } else if (command == "clear" && hasOperand) {
      Clear(argv[++i]);
    } else {
      fprintf(stderr, "regfixture: unknown command %s\n", command.c_str());
      return 3;
    }
  }
  fflush(stdout);
  return 0;
}
