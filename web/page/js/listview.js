// A list of many rows: rows are made as they come into sight, a few hundred at a time, so
// that a key of 10,000 states shows its list at once. `makeRow(item)` makes one row.
const kChunk = 300;

export class ListView {
  constructor(element, makeRow) {
    this.element = element;
    this.makeRow = makeRow;
    this.items = [];
    this.shown = 0;
    this.sentinel = document.createElement('li');
    this.sentinel.className = 'more';
    this.observer = new IntersectionObserver((entries) => {
      if (entries.some((entry) => entry.isIntersecting)) this.more();
    });
  }

  show(items) {
    this.items = items;
    this.shown = 0;
    this.observer.disconnect();
    this.element.replaceChildren();
    this.more();
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
