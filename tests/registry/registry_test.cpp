#include <cstring>
#include <string>

#include "registry/registry_fixture.h"

namespace {

TEST_F(RegistryFile, CreatedKeyAndValuesAreWrittenInTheExportFormat) {
  HKEY key;
  DWORD disposition = 0;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSaverKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                            nullptr, &key, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
  ASSERT_EQ(SetDword(key, "Sound", 1), ERROR_SUCCESS);
  ASSERT_EQ(SetString(key, "Note", "a \"quoted\" C:\\path"), ERROR_SUCCESS);
  ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);

  EXPECT_EQ(FileText(),
            "REGEDIT4\n"
            "\n[HKEY_CURRENT_USER\\Software]\n"
            "\n[HKEY_CURRENT_USER\\Software\\Vantrel]\n"
            "\n[HKEY_CURRENT_USER\\Software\\Vantrel\\Made with Glimmerkit]\n"
            "\n[HKEY_CURRENT_USER\\Software\\Vantrel\\Made with Glimmerkit\\Beach]\n"
            "\"Sound\"=dword:00000001\n"
            "\"Note\"=\"a \\\"quoted\\\" C:\\\\path\"\n");

  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSaverKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                            nullptr, &key, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
  char text[64];
  DWORD type = 0, size = sizeof text;
  ASSERT_EQ(RegQueryValueExA(key, "Note", nullptr, &type, reinterpret_cast<BYTE*>(text), &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_STREQ(text, "a \"quoted\" C:\\path");
  EXPECT_EQ(size, std::strlen(text) + 1);
  RegCloseKey(key);
}

TEST_F(RegistryFile, NamesIgnoreCaseAndKeepTheirSpelling) {
  ASSERT_EQ(WriteSound(1), ERROR_SUCCESS);
  EXPECT_EQ(ReadSound("SOFTWARE\\vantrel\\MADE WITH GLIMMERKIT\\beach", "SOUND"), 1);
  ASSERT_EQ(WriteSound(0, "sOuNd"), ERROR_SUCCESS);
  EXPECT_EQ(ReadSound(), 0);
  std::string text = FileText();
  EXPECT_NE(text.find("\"Sound\"=dword:00000000"), std::string::npos) << text;
  EXPECT_EQ(text.find("sOuNd"), std::string::npos) << text;
}

TEST_F(RegistryFile, QueriesFollowThePlatform) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, kSaverKey, &key), ERROR_SUCCESS);
  ASSERT_EQ(SetString(key, "Name", "Beach"), ERROR_SUCCESS);
  ASSERT_EQ(SetDword(key, "Sound", 7), ERROR_SUCCESS);

  DWORD type = 0, size = 0;
  // Size only.
  EXPECT_EQ(RegQueryValueExA(key, "Name", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 6u);
  // A buffer too small: the size needed, nothing else.
  char small[3] = "xx";
  size = sizeof small;
  EXPECT_EQ(RegQueryValueExA(key, "Name", nullptr, nullptr, reinterpret_cast<BYTE*>(small), &size),
            ERROR_MORE_DATA);
  EXPECT_EQ(size, 6u);
  // A 4-byte read of a string of 6 fails, as the engine's reads expect.
  DWORD number = 0;
  size = 4;
  EXPECT_EQ(RegQueryValueExA(key, "Name", nullptr, nullptr, reinterpret_cast<BYTE*>(&number), &size),
            ERROR_MORE_DATA);
  EXPECT_EQ(RegQueryValueExA(key, "Missing", nullptr, nullptr, reinterpret_cast<BYTE*>(&number), &size),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegQueryValueExA(key, "Sound", nullptr, nullptr, reinterpret_cast<BYTE*>(&number), nullptr),
            ERROR_INVALID_PARAMETER);
  size = 4;
  EXPECT_EQ(RegQueryValueExA(key, "Sound", nullptr, &type, reinterpret_cast<BYTE*>(&number), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(number, 7u);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(RegDeleteValueA(key, "SOUND"), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExA(key, "Sound", nullptr, nullptr, reinterpret_cast<BYTE*>(&number), &size),
            ERROR_FILE_NOT_FOUND);
  RegCloseKey(key);
}

TEST_F(RegistryFile, MissingKeysAreNotFoundAndNotMade) {
  HKEY key = reinterpret_cast<HKEY>(1);
  EXPECT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(key, nullptr);
  EXPECT_EQ(ReadSound(), -1);
  EXPECT_FALSE(HostExists(scratch.Host("config/user.reg")));
  // A key above one that exists exists too.
  ASSERT_EQ(WriteSound(1), ERROR_SUCCESS);
  ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "Software\\Vantrel", &key), ERROR_SUCCESS);
  HKEY below;
  ASSERT_EQ(RegOpenKeyExA(key, "Made with Glimmerkit\\Beach\\", 0, KEY_READ, &below), ERROR_SUCCESS);
  RegCloseKey(below);
  RegCloseKey(key);
}

TEST_F(RegistryFile, BadKeyPathsAreRefused) {
  std::string prefix = "Software\\Vantrel\\Made with Glimmerkit\\";
  std::string longest = prefix + std::string(255 - prefix.size(), 'n');
  std::string tooLong = longest + "n";
  struct Case {
    std::string path;
    LONG status;
  };
  const Case cases[] = {
      {longest, ERROR_SUCCESS},
      {tooLong, ERROR_INVALID_PARAMETER},
      {prefix + std::string(1000, 'n'), ERROR_INVALID_PARAMETER},
      {"\\Software", ERROR_BAD_PATHNAME},
      {"Software\\\\Vantrel", ERROR_BAD_PATHNAME},
      {"Software\\Line\nBreak", ERROR_INVALID_PARAMETER},
  };
  for (const Case& c : cases) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, c.path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              c.status)
        << c.path.size();
    if (key != nullptr) RegCloseKey(key);
    EXPECT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, c.path.c_str(), &key), c.status) << c.path.size();
    if (c.status == ERROR_SUCCESS) RegCloseKey(key);
  }
  // The limit counts from the hive, through an open key too.
  HKEY parent;
  ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "Software\\Vantrel", &parent), ERROR_SUCCESS);
  HKEY key;
  EXPECT_EQ(RegOpenKeyA(parent, tooLong.substr(17).c_str(), &key), ERROR_INVALID_PARAMETER);
  RegCloseKey(parent);
}

TEST_F(RegistryFile, StaleAndForeignHandlesFail) {
  ASSERT_EQ(WriteSound(1), ERROR_SUCCESS);
  HKEY key;
  ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, kSaverKey, &key), ERROR_SUCCESS);
  ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  DWORD value = 0, size = 4;
  HKEY bad[] = {key, reinterpret_cast<HKEY>(12345), HKEY_LOCAL_MACHINE, nullptr};
  for (HKEY handle : bad) {
    EXPECT_EQ(RegQueryValueExA(handle, "Sound", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size),
              ERROR_INVALID_HANDLE);
    EXPECT_EQ(SetDword(handle, "Sound", 0), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(handle), ERROR_INVALID_HANDLE);
    HKEY child;
    EXPECT_EQ(RegOpenKeyA(handle, "Anything", &child), ERROR_INVALID_HANDLE);
  }
  EXPECT_EQ(ReadSound(), 1);
}

TEST_F(RegistryFile, HandEditedFileIsReadAndItsOtherContentKept) {
  scratch.MakeFolder("config");
  scratch.Write("config/user.reg",
                "REGEDIT4\r\n"
                "\r\n"
                "; written by hand\r\n"
                "[HKEY_LOCAL_MACHINE\\Software\\Other]\r\n"
                "\"Kept\"=\"yes\"\r\n"
                "\r\n"
                "[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"
                "\"ScreenSaveUsePassword\"=hex:01,00,00,\\\r\n"
                "  00\r\n"
                "\"Multi\"=hex(7):41,00,42,00,00\r\n"
                "@=\"default\"\r\n");
  EXPECT_EQ(ReadSound("Control Panel\\Desktop", "ScreenSaveUsePassword"), 1);
  HKEY key;
  ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &key), ERROR_SUCCESS);
  char text[16];
  DWORD size = sizeof text;
  ASSERT_EQ(RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size), ERROR_SUCCESS);
  EXPECT_STREQ(text, "default");
  // A string with a line break cannot stand in quotes: it goes as bytes and
  // comes back whole.
  ASSERT_EQ(SetString(key, "Lines", "one\ntwo"), ERROR_SUCCESS);
  size = sizeof text;
  ASSERT_EQ(RegQueryValueExA(key, "Lines", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size), ERROR_SUCCESS);
  EXPECT_STREQ(text, "one\ntwo");
  RegCloseKey(key);

  std::string after = FileText();
  EXPECT_NE(after.find("[HKEY_LOCAL_MACHINE\\Software\\Other]\n\"Kept\"=\"yes\""), std::string::npos) << after;
  EXPECT_NE(after.find("\"Multi\"=hex(7):41,00,42,00,00"), std::string::npos) << after;
  EXPECT_NE(after.find("\"Lines\"=hex(1):6f,6e,65,0a,74,77,6f,00"), std::string::npos) << after;
  EXPECT_TRUE(Strays().empty());
}

TEST_F(RegistryFile, GarbledFileIsKeptAsideNeverOverwritten) {
  const std::string garbled[] = {
      "this is not a settings file\n",
      "REGEDIT4\n\"Sound\"=dword:00000001\n",  // a value outside any key
      "REGEDIT4\n[HKEY_CURRENT_USER\\Software]\n\"Sound\"=dword:xyz\n",
      "REGEDIT4\n[HKEY_CURRENT_USER\\Software\n",
      std::string("REGEDIT4\n[HKEY_CURRENT_USER\\Software]\n\"Half", 40),
  };
  for (const std::string& content : garbled) {
    ScratchFolder own;
    setenv("GLIMMER_REGISTRY", own.Host("user.reg").c_str(), 1);
    own.Write("user.reg", content);
    // Reading finds nothing and changes nothing.
    EXPECT_EQ(ReadSound(), -1);
    EXPECT_EQ(ReadHostFile(own.Host("user.reg")), content);
    // Writing keeps the old file aside, under a name of its own.
    ASSERT_EQ(WriteSound(1), ERROR_SUCCESS);
    EXPECT_EQ(ReadSound(), 1);
    DIR* dir = opendir(own.Host().c_str());
    int aside = 0;
    while (dirent* entry = readdir(dir)) {
      std::string name = entry->d_name;
      if (name.rfind("user.reg.unreadable-", 0) == 0) {
        ++aside;
        EXPECT_EQ(ReadHostFile(own.Host(name)), content);
      }
    }
    closedir(dir);
    EXPECT_EQ(aside, 1) << content;
  }
}

}  // namespace
