// A list of many rows: rows are made as they come into sight, a few hundred at a time, so
// that a key of 10,000 states shows its list at once. `makeRow(item)` makes one row. With
// `key(item)` and `updateRow(row, item)`, a list shown again with the same items in the
// same order keeps its rows and has each brought up to date, as after a score.
const kChunk = 300;

export class ListView {
  constructor(element, makeRow, { key, updateRow } = {}) {
    this.element = element;
    this.makeRow = makeRow;
    this.key = key;
    this.updateRow = updateRow;
    this.items = [];
    this.shown = 0;
    this.sentinel = document.createElement('li');
    this.sentinel.className = 'more';
    this.observer = new IntersectionObserver((entries) => {
      if (entries.some((entry) => entry.isIntersecting)) this.more();
    });
  }

  show(items) {
    if (this.updateRow && this.sameItems(items)) {
      const rows = this.element.children;
      for (let i = 0; i < this.shown; ++i) this.updateRow(rows[i], items[i]);
      this.items = items;
      return;
    }
    this.items = items;
    this.shown = 0;
    this.observer.disconnect();
    this.element.replaceChildren();
    this.more();
  }

  sameItems(items) {
    if (items.length !== this.items.length) return false;
    for (let i = 0; i < items.length; ++i) if (this.key(items[i]) !== this.key(this.items[i])) return false;
    return true;
  }

  more() {
    const end = Math.min(this.items.length, this.shown + kChunk);
    const rows = document.createDocumentFragment();
    for (let i = this.shown; i < end; ++i) rows.append(this.makeRow(this.items[i], i));
    this.shown = end;
    this.sentinel.remove();
    this.element.append(rows);
    if (this.shown < this.items.length) {
      this.element.append(this.sentinel);
      this.observer.observe(this.sentinel);
    }
  }
}
