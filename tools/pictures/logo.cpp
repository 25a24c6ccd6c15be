// The brand logo: "Mirelto" in lively glossy letters over the web address.
#include "art.h"
#include "font.h"

namespace pic {

NamedFile logoPicture() {
    const int w = 180, h = 66;
    Canvas cv(w, h, rgb(0xFFFFFF));

    TextStyle big;
    big.xHeight = 24;
    big.weight = 0.235;
    big.spacing = 0.15;
    const std::string word = "Mirelto";
    double x0 = (w - textWidth(word, big)) / 2;
    const double base = 43;
    std::vector<Path> letters = textPaths(word, x0, base, big);

    // A soft shadow under the whole word.
    Path all;
    for (auto& l : letters) all.add(l);
    Mask shadow = cv.cover(all.moved(1.6, 2.0)).blurred(1, 3);
    cv.fill(shadow, alpha(rgb(0x404858), 0.38));

    const uint32_t hues[] = {0x1F6FE0, 0xE8352B, 0xF5A017, 0x2FB040, 0x9044C8, 0x13A7C9, 0xE23494};
    for (size_t i = 0; i < letters.size(); ++i) {
        Col c = rgb(hues[i % 7]);
        Mask m = cv.cover(letters[i]);
        double top = base - 1.45 * big.xHeight;
        cv.fill(m, linear(Pt{0, top}, Pt{0, base},
                          {{0, lighter(c, 0.35)}, {0.55, c}, {1, darker(c, 0.22)}}));
        // Gloss on the upper half of each letter.
        Mask gloss = cv.cover(rect(0, top - 2, w, (base - top) * 0.5 + 2));
        gloss *= m;
        cv.fill(gloss, linear(Pt{0, top}, Pt{0, top + (base - top) * 0.5},
                              {{0, alpha(rgb(0xFFFFFF), 0.45)}, {1, alpha(rgb(0xFFFFFF), 0.1)}}));
        // A thin darker edge keeps the letters crisp on white.
        Mask edge = m.minus(m.blurred(1, 1).scaledBy(1.0f));
        cv.fill(edge, alpha(darker(c, 0.35), 0.6));
    }

    TextStyle small;
    small.xHeight = 5.6;
    small.weight = 0.21;
    small.spacing = 0.2;
    const std::string web = "www.mirelto.example";
    double sx = (w - textWidth(web, small)) / 2;
    cv.fill(textPath(web, sx, 59.5, small), rgb(0x2E3440));

    return {"logo.jpg", jpegBaseline(flatten(cv, rgb(0xFFFFFF)), 92)};
}

}  // namespace pic
