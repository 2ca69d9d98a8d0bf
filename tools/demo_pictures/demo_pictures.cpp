// Draws the six pictures of the demo package: each a colour of its own with
// a large numeral, 1 to 6, so that anyone can tell at a glance which face of
// the cube shows which picture. The numerals are strokes drawn here, no font.
//
// usage: demo_pictures FOLDER   (writes FOLDER/picture1.jpg ... picture6.jpg)
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/glimmerkit/jpeg_encoder.h"

namespace {

constexpr unsigned kEdge = 512;
constexpr double kPi = 3.14159265358979323846;

struct Point {
  double x, y;  // in the numeral's box: 0..1 across, 0..1 down
};
using Stroke = std::vector<Point>;

// An arc around (cx, cy) of radius r from angle `from` to `to` in degrees,
// counter-clockwise as seen (y grows downwards).
Stroke Arc(double cx, double cy, double r, double from, double to) {
  Stroke stroke;
  int steps = 48;
  for (int i = 0; i <= steps; ++i) {
    double t = (from + (to - from) * i / steps) * kPi / 180;
    stroke.push_back({cx + r * std::cos(t), cy - r * std::sin(t)});
  }
  return stroke;
}

Stroke Join(Stroke a, const Stroke& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::vector<Stroke> Numeral(int n) {
  switch (n) {
    case 1:
      return {{{0.30, 0.18}, {0.52, 0.0}, {0.52, 1.0}}, {{0.30, 1.0}, {0.74, 1.0}}};
    case 2:
      return {Join(Arc(0.5, 0.28, 0.26, 160, -35), {{0.20, 1.0}, {0.82, 1.0}})};
    case 3:
      return {Arc(0.48, 0.26, 0.24, 150, -90), Arc(0.48, 0.73, 0.27, 90, -150)};
    case 4:
      return {{{0.66, 1.0}, {0.66, 0.0}, {0.14, 0.70}, {0.88, 0.70}}};
    case 5:
      return {Join({{0.80, 0.0}, {0.30, 0.0}, {0.26, 0.46}}, Arc(0.50, 0.69, 0.30, 140, -150))};
    default:
      return {Arc(0.5, 0.72, 0.27, 0, 360), Arc(0.88, 0.72, 0.65, 180, 112)};
  }
}

double DistanceToSegment(Point p, Point a, Point b) {
  double dx = b.x - a.x, dy = b.y - a.y;
  double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2, 0.0, 1.0) : 0.0;
  double ex = a.x + t * dx - p.x, ey = a.y + t * dy - p.y;
  return std::sqrt(ex * ex + ey * ey);
}

struct Colour {
  double r, g, b;
};

const Colour kColours[6] = {
    {0.85, 0.12, 0.15},  // 1 red
    {0.95, 0.55, 0.05},  // 2 orange
    {0.95, 0.85, 0.10},  // 3 yellow
    {0.15, 0.65, 0.20},  // 4 green
    {0.15, 0.35, 0.85},  // 5 blue
    {0.60, 0.20, 0.75},  // 6 purple
};

uint8_t Byte(double v) { return static_cast<uint8_t>(std::clamp(v, 0.0, 1.0) * 255 + 0.5); }

JpegPicture DrawPicture(int n) {
  JpegPicture picture;
  picture.width = picture.height = kEdge;
  picture.samples.resize(kEdge * kEdge * 3);
  const Colour& colour = kColours[n - 1];
  std::vector<Stroke> strokes = Numeral(n);
  // The numeral's box in the picture, and its stroke widths in box units.
  const double boxLeft = 0.30, boxTop = 0.16, boxWidth = 0.40, boxHeight = 0.68;
  const double ink = 0.085, outline = 0.13;

  for (unsigned y = 0; y < kEdge; ++y) {
    for (unsigned x = 0; x < kEdge; ++x) {
      double u = (x + 0.5) / kEdge, v = (y + 0.5) / kEdge;
      // Background: the picture's colour, lighter towards the middle, with a
      // dark frame so the cube's edges show.
      double centre = std::hypot(u - 0.5, v - 0.5);
      double light = 1.15 - 0.6 * centre;
      Colour pixel{colour.r * light, colour.g * light, colour.b * light};
      double edge = std::min(std::min(u, 1 - u), std::min(v, 1 - v));
      if (edge < 0.03) pixel = {0.08, 0.08, 0.10};

      Point p{(u - boxLeft) / boxWidth, (v - boxTop) / boxHeight};
      // Distances in the box's own units, corrected for its aspect ratio.
      Point scaled{p.x * boxWidth / boxHeight, p.y};
      double nearest = 1e9;
      for (const Stroke& stroke : strokes)
        for (size_t i = 1; i < stroke.size(); ++i) {
          Point a{stroke[i - 1].x * boxWidth / boxHeight, stroke[i - 1].y};
          Point b{stroke[i].x * boxWidth / boxHeight, stroke[i].y};
          nearest = std::min(nearest, DistanceToSegment(scaled, a, b));
        }
      if (nearest < ink)
        pixel = {1.0, 1.0, 1.0};
      else if (nearest < outline)
        pixel = {0.05, 0.05, 0.05};

      uint8_t* out = &picture.samples[(y * kEdge + x) * 3];
      out[0] = Byte(pixel.r);
      out[1] = Byte(pixel.g);
      out[2] = Byte(pixel.b);
    }
  }
  return picture;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: demo_pictures FOLDER\n");
    return 2;
  }
  for (int n = 1; n <= 6; ++n) {
    std::vector<uint8_t> jpeg = EncodeJpeg(DrawPicture(n));
    std::string path = std::string(argv[1]) + "/picture" + std::to_string(n) + ".jpg";
    FILE* file = fopen(path.c_str(), "wb");
    if (file == nullptr || fwrite(jpeg.data(), 1, jpeg.size(), file) != jpeg.size() || fclose(file) != 0) {
      fprintf(stderr, "demo_pictures: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
