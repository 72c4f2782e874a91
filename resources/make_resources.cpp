// Build-time tool: makes Pop.dat (fixed records of 2846 bytes) from the
// readable browser list, and Bell.wav (a short synthesised bell).
// usage: make_resources browsers.txt Pop.dat Bell.wav
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr size_t kRecord = 2846;

struct Browser {
  std::map<std::string, std::string> keys;
};

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r\n"), e = s.find_last_not_of(" \t\r\n");
  return b == std::string::npos ? "" : s.substr(b, e - b + 1);
}

bool ReadList(const char* path, std::vector<Browser>& out) {
  std::ifstream in(path);
  if (!in) return false;
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    line = Trim(line);
    if (line.empty() || line[0] == '#') continue;
    if (line.front() == '[' && line.back() == ']') {
      out.push_back({});
      out.back().keys["name"] = line.substr(1, line.size() - 2);
      continue;
    }
    size_t eq = line.find('=');
    if (eq == std::string::npos || out.empty()) {
      std::cerr << path << ":" << lineNo << ": expected [name] or key = value\n";
      return false;
    }
    out.back().keys[Trim(line.substr(0, eq))] = Trim(line.substr(eq + 1));
  }
  return true;
}

void PutText(std::vector<char>& rec, size_t off, size_t len, const std::string& text) {
  if (text.size() > len) throw std::runtime_error("text too long for its field: " + text);
  std::memcpy(rec.data() + off, text.data(), text.size());
}

void PutInt16(std::vector<char>& rec, size_t off, long v) {
  if (v < -32768 || v > 32767) throw std::runtime_error("number out of 16-bit range");
  rec[off] = static_cast<char>(v & 0xFF);
  rec[off + 1] = static_cast<char>((v >> 8) & 0xFF);
}

std::vector<char> BrowserRecord(const Browser& b) {
  std::vector<char> rec(kRecord, ' ');  // texts are blank-padded
  auto key = [&](const char* k) {
    auto it = b.keys.find(k);
    return it == b.keys.end() ? std::string() : it->second;
  };
  auto num = [&](const char* k) { return key(k).empty() ? 0L : std::stol(key(k)); };
  PutText(rec, 0, 256, key("name"));
  PutText(rec, 256, 256, key("exe"));
  PutText(rec, 512, 256, key("menu0"));
  PutText(rec, 768, 256, key("menu1"));
  PutInt16(rec, 1280, num("notify"));
  PutInt16(rec, 1282, num("hide"));
  PutInt16(rec, 1284, num("version"));
  for (int j = 0; j < 6; ++j) {
    std::string w = key(("white" + std::to_string(j)).c_str());
    long type = 0, exact = 0;
    std::string text;
    if (!w.empty()) {
      std::istringstream ws(w);
      std::string t, e;
      std::getline(ws, t, ',');
      std::getline(ws, e, ',');
      std::getline(ws, text);
      type = std::stol(Trim(t));
      exact = std::stol(Trim(e));
      text = Trim(text);
    }
    PutInt16(rec, 1286 + 2 * j, type);
    PutText(rec, 1298 + 256 * j, 256, text);
    PutInt16(rec, 2834 + 2 * j, exact);
  }
  return rec;
}

bool WritePopDat(const std::vector<Browser>& list, const char* path) {
  std::vector<char> head(kRecord, ' ');
  PutText(head, 256, 256, std::to_string(list.size()));
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(head.data(), head.size());
  for (const auto& b : list) {
    auto rec = BrowserRecord(b);
    out.write(rec.data(), rec.size());
  }
  out.close();
  // The layout check: whole records only, one per browser plus the count.
  std::ifstream check(path, std::ios::binary | std::ios::ate);
  return check && static_cast<size_t>(check.tellg()) == kRecord * (list.size() + 1);
}

void Put32(std::ofstream& o, uint32_t v) { o.write(reinterpret_cast<const char*>(&v), 4); }
void Put16(std::ofstream& o, uint16_t v) { o.write(reinterpret_cast<const char*>(&v), 2); }

// A small bell: two partials with an exponential decay, 0.8 s, 22050 Hz mono.
bool WriteBell(const char* path) {
  const uint32_t rate = 22050, samples = rate * 8 / 10;
  std::ofstream o(path, std::ios::binary | std::ios::trunc);
  o.write("RIFF", 4);
  Put32(o, 36 + samples * 2);
  o.write("WAVEfmt ", 8);
  Put32(o, 16);
  Put16(o, 1);
  Put16(o, 1);
  Put32(o, rate);
  Put32(o, rate * 2);
  Put16(o, 2);
  Put16(o, 16);
  o.write("data", 4);
  Put32(o, samples * 2);
  for (uint32_t i = 0; i < samples; ++i) {
    double t = double(i) / rate;
    double v = std::exp(-5.0 * t) * (0.6 * std::sin(2 * M_PI * 880 * t) +
                                      0.3 * std::sin(2 * M_PI * 1320 * t) +
                                      0.1 * std::sin(2 * M_PI * 2640 * t));
    Put16(o, static_cast<uint16_t>(static_cast<int16_t>(v * 0.7 * 32767)));
  }
  return static_cast<bool>(o);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: make_resources browsers.txt Pop.dat Bell.wav\n";
    return 2;
  }
  try {
    std::vector<Browser> list;
    if (!ReadList(argv[1], list)) return 1;
    if (!WritePopDat(list, argv[2])) {
      std::cerr << "Pop.dat: layout check failed\n";
      return 1;
    }
    if (!WriteBell(argv[3])) return 1;
    std::cout << "Pop.dat: " << list.size() << " browsers; Bell.wav written\n";
  } catch (const std::exception& e) {
    std::cerr << "make_resources: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
