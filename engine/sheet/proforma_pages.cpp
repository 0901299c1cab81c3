// PROFORMA's page search: where each text block of the sheet stands on the strip of pages.
//
// The items (layers, then notes, then an end item of no height) are first packed from the top
// (MINPAGES), the scale is chosen (FINDSCAL), the latest bottom of each item is found packing from the
// bottom (FINDLOW), and each item is placed (FINDBOD): a layer's text starts level with the top of the
// layer where the texts above leave room; a layer whose text ends above its depth line is moved down to
// it, pushing the items after it down without any crossing a page end. A forced page break after an
// item starts a new page at that item's bottom (PAGEBREA), outside fixed-scale mode.
//
// Beyond the table's bounds: a forced page break in a note or in the last item starts no page (nothing
// follows it to draw); the depth at a break in a note is the depth of the hole's bottom. A note that
// ends a page keeps a line free below it (note_foot), as its text is drawn a line lower in its block.
#include <algorithm>

#include "engine/frame/console.h"
#include "engine/frame/globals.h"
#include "engine/pdf/globals.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/select/globals.h"
#include "engine/setup/globals.h"
#include "engine/sheet/globals.h"
#include "engine/sheet/proforma.h"
#include "engine/sheet/sheet.h"
#include "platform/console.h"

namespace {

std::int32_t rounded(double v) { return static_cast<std::int32_t>(rt::round_even(v)); }

size_t at(std::int32_t j) { return static_cast<size_t>(j); }

double item_depth(std::int32_t m) { return LAYERDEPTH(std::min(m, LAYERCOUNT)); }

// A note is drawn a line lower in its block than a layer's text (its first line holds the heading or
// the gap above the note), so its last line stands below the block's bottom: a note that ends a page
// keeps this much room free above the page's end, and its text stays as clear of the footer as a
// layer's.
std::int32_t note_foot() { return rounded(LINEPITCH); }

void ADDAPAGE(FormaState& st) {
  if (PAGECOUNT >= 12) ABORTFOR(st, PROMPT(40));
  ++PAGECOUNT;
}

void EMPTYARR(FormaState& st) {
  st.trap->section("EMPTYARR");
  SHAREDPAGE = 0;
  TOPDEPTH = rt::VAL(HEADER(58));
  for (std::int32_t p = 1; p <= 12; ++p) PAGEDEPTH(p) = TOPDEPTH;
  for (long p = PAGESTART.lbound(); p <= PAGESTART.ubound(); ++p) PAGESTART(p) = 0;
  for (long j = ITEMBOTTOM.lbound(); j <= ITEMBOTTOM.ubound(); ++j) ITEMBOTTOM(j) = 0;
  PAGECOUNT = 0;
  st.page = 1;
  st.break_item = 0;
}

// MINPAGES: the items after the break item packed from the top of page P.
void MINPAGES(FormaState& st) {
  st.trap->section("MINPAGES");
  page_rooms(st);
  ++PAGECOUNT;
  std::int32_t fill = 0, offset = PAGESTART(st.page);
  st.next_break = 0;
  for (std::int32_t j = st.break_item + 1; j <= st.items; ++j) {
    const std::int32_t h = st.hd[at(j)];
    if (j <= LAYERCOUNT) {
      const std::int32_t limit = j == LAYERCOUNT ? st.room_last : st.room;
      if (h + fill > limit) {
        ADDAPAGE(st);
        offset += st.room;
        fill = 0;
      }
    } else {
      const std::int32_t k = j - LAYERCOUNT;
      const std::int32_t limit = (k == 1 ? st.room_last - 2 : st.room_last) - note_foot();
      if (h + fill > limit) {
        if (fill == 0) {
          show_message("NOTE " + rt::STR(static_cast<std::int64_t>(k)) + "; " + PROMPT(47), 1);
        } else {
          fill = 0;
          ADDAPAGE(st);
          offset += st.room;
        }
      }
    }
    fill += h;
    st.b[at(j)] = fill + offset;
    if (st.next_break == 0 && st.has_break[at(j)] && j < st.items) st.next_break = j;
  }
  st.b[at(st.items + 1)] = fill + offset;
}

void FINDLOW(FormaState& st) {
  st.trap->section("FINDLOW");
  std::int32_t top = static_cast<std::int32_t>(PAGESTART(st.page) + st.avail + LOGHEADDOTS);
  std::int32_t avail = st.room_last, fill = st.items > LAYERCOUNT ? note_foot() : 0;
  st.low[at(st.items + 1)] = top;
  for (std::int32_t j = st.items + 1; j >= st.break_item + 1; --j) {
    const std::int32_t h = std::min(st.hd[at(j)], avail);
    if (h + fill > avail) {
      top -= avail;
      avail = st.room;
      fill = j > LAYERCOUNT ? note_foot() : 0;
    }
    st.low[at(j)] = top - fill;
    fill += h;
  }
}

void FINDBOD(FormaState& st) {
  st.trap->section("FINDBOD");
  std::int32_t page_end = PAGESTART(st.page), previous = PAGESTART(st.page);
  for (std::int32_t j = st.break_item + 1; j <= st.items + 1; ++j) {
    TEXTTOP(j) = std::max(previous, st.b[at(j)] - st.hd[at(j)]);
    if (j <= LAYERCOUNT) {
      const std::int32_t d = FNLDOT(LAYERDEPTH(j));
      if (st.b[at(j)] < d) {
        std::int32_t x = FNLMIN(d, st.low[at(j)]);
        while (page_end < x && st.room > 0) page_end += st.room;
        st.b[at(j)] = x;
        std::int32_t e = page_end;
        for (std::int32_t k = j + 1; k <= st.items + 1; ++k) {
          if (st.hd[at(k)] + x > e) {
            x = e;
            e += st.room;
          }
          x += st.hd[at(k)];
          st.b[at(k)] = x;
        }
      }
    }
    TEXTBOTTOM(j) = TEXTTOP(j) + st.hd[at(j)];
    ITEMBOTTOM(j) = st.b[at(j)];
    previous = st.b[at(j)];
  }
  for (std::int32_t p = st.page + 1; p <= PAGECOUNT; ++p) PAGESTART(p) = PAGESTART(st.page) + (p - st.page) * st.room;
}

void SHUFFLEP(FormaState& st) {
  st.trap->section("SHUFFLEP");
  const std::int32_t m = st.break_item;
  const std::int32_t old = st.page;
  while (st.page <= PAGECOUNT && PAGESTART(st.page) < ITEMBOTTOM(m)) ++st.page;
  if (st.page == old) ++st.page;
  PAGESTART(st.page) = ITEMBOTTOM(m);
  TOPDEPTH = item_depth(m) - ITEMBOTTOM(m) / DOTSPERUNIT;
  for (std::int32_t p = st.page; p <= 12; ++p) PAGEDEPTH(p) = TOPDEPTH;
  PAGECOUNT = st.page - 1;
}

void CHECKSTA(FormaState& st) {
  st.trap->section("CHECKSTA");
  const double depth = LAYERDEPTH(LAYERCOUNT) - item_depth(st.break_item);
  const std::int32_t needed = SCALEDENOM > 0 ? rounded(depth / SCALEDENOM * UNITDOTS) : 0;
  for (;;) {
    st.avail = static_cast<std::int64_t>(st.room) * (PAGECOUNT - st.page) + st.room_last - LOGHEADDOTS;
    if (st.avail >= needed) break;
    ADDAPAGE(st);
  }
}

void PAGEBREA(FormaState& st) {
  st.trap->section("PAGEBREA");
  if (st.fixed_scale) return;
  while (st.next_break > 0) {
    st.break_item = st.next_break;
    SHUFFLEP(st);
    MINPAGES(st);
    CHECKSTA(st);
    FINDLOW(st);
    FINDBOD(st);
  }
}

// A page added for room above the footer alone (the hole and its notes end on the page before it,
// within that page's body but below where the last page's footer begins) would be drawn empty, as
// would its log page. Its start moves up to share the tail with the page before: half way between
// that page's start and the end of the texts, off any text block it would cut (to the block's
// bottom, or its top when that block ends the sheet). A page begun by a forced break keeps its start.
void SHARELAS(FormaState& st) {
  st.trap->section("SHARELAS");
  SHAREDPAGE = 0;
  const std::int32_t n = PAGECOUNT;
  if (n < 2 || st.room <= 0) return;
  const std::int32_t before = PAGESTART(n - 1);
  if (PAGESTART(n) != before + st.room || PAGEDEPTH(n) != PAGEDEPTH(n - 1)) return;
  std::int32_t end = 0;
  for (std::int32_t j = 1; j <= st.items + 1; ++j) end = std::max({end, TEXTBOTTOM(j), ITEMBOTTOM(j)});
  if (LAYERCOUNT > 0) end = std::max(end, FNLDOT(LAYERDEPTH(LAYERCOUNT)));
  if (end > PAGESTART(n) || end <= before) return;
  std::int32_t start = before + (end - before) / 2;
  for (std::int32_t j = 1; j <= st.items; ++j) {
    const std::int32_t bottom = TEXTBOTTOM(j) + (j > LAYERCOUNT ? note_foot() : 0);
    if (TEXTTOP(j) < start && start < bottom) start = bottom < end ? bottom : TEXTTOP(j);
  }
  if (start <= before || start >= end || end - start > st.room_last) return;
  PAGESTART(n) = start;
  SHAREDPAGE = n;
}

}  // namespace

void page_rooms(FormaState& st) {
  const double rows = LAYOUTPITCH * st.rows;
  if (FOOTDOTS % 2 == 0) {
    st.room = rounded(PAGELENGTH - HEADDOTS - rows - 34);
  } else {
    st.room = rounded(PAGELENGTH - HEADDOTS - FOOTDOTS - rows);
  }
  st.room_last = PAGELENGTH - HEADDOTS - FOOTDOTS - 34;
  for (std::int32_t j = 1; j <= st.items; ++j) st.hd[at(j)] = rounded(LINEPITCH * (st.lines[at(j)] + 1));
  st.hd[at(st.items + 1)] = 0;
}

void page_search(FormaState& st) {
  EMPTYARR(st);
  MINPAGES(st);
  FINDSCAL(st);
  FINDLOW(st);
  FINDBOD(st);
  PAGEBREA(st);
  SHARELAS(st);
}

// A hole without layers: its notes packed from the top of page 1, no scale.
void notes_layout(FormaState& st) {
  EMPTYARR(st);
  MINPAGES(st);
  std::int32_t previous = 0;
  for (std::int32_t j = 1; j <= st.items + 1; ++j) {
    TEXTTOP(j) = std::max(previous, st.b[at(j)] - st.hd[at(j)]);
    TEXTBOTTOM(j) = TEXTTOP(j) + st.hd[at(j)];
    ITEMBOTTOM(j) = st.b[at(j)];
    previous = st.b[at(j)];
  }
  for (std::int32_t p = 2; p <= PAGECOUNT; ++p) PAGESTART(p) = (p - 1) * st.room;
  SCALEDENOM = 0;
}
