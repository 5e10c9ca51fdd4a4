// Pictures drawn by the JavaScript API and by the command line from the same
// options: every kind, every fill and line style, wide pens, gaps, colours,
// fonts and both plot orientations. `js` is the API's call, `cli` the
// command line's arguments for it.
export const sales = [[12.5, 17, 9.5, 21], [8, 11.5, 14, 16.5], [5.5, 7, 10, 12]];
const salesText = '12.5 17 9.5 21; 8 11.5 14 16.5; 5.5 7 10 12';
const look = {names: ['North', 'South', 'East'], labels: ['Q1', 'Q2', 'Q3', 'Q4'],
  captionX: 'Quarter', captionY: 'Sales, kEUR', width: 400, height: 250};
const lookArgs = ['--names', 'North,South,East', '--labels', 'Q1,Q2,Q3,Q4',
  '--caption-x', 'Quarter', '--caption-y', 'Sales, kEUR', '--size', '400x250'];

export const cases = [
  {name: 'example', js: (k) => k.example(), cli: ['example']},
  {name: 'bars', js: (k) => k.diagram({values: sales, ...look}),
    cli: ['diag', '--values', salesText, ...lookArgs]},
  {name: 'lines with widths', js: (k) => k.diagram({values: sales, ...look, kind: 'lines', widths: [2, 1, 3]}),
    cli: ['diag', '--values', salesText, ...lookArgs, '--kind', 'lines', '--widths', '2,1,3']},
  {name: 'markers without value labels',
    js: (k) => k.diagram({values: sales, ...look, kind: 'markers', noValueLabels: true}),
    cli: ['diag', '--values', salesText, ...lookArgs, '--kind', 'markers', '--no-value-labels']},
  {name: 'every fill style',
    js: (k) => k.diagram({values: [[5, 6], [6, 7], [7, 8], [8, 9], [9, 10], [10, 11], [11, 12]],
      styles: [1, 2, 3, 4, 5, 6, 7], noValues: true, width: 400, height: 250}),
    cli: ['diag', '--values', '5 6; 6 7; 7 8; 8 9; 9 10; 10 11; 11 12', '--styles', '1,2,3,4,5,6,7',
      '--no-values', '--size', '400x250']},
  {name: 'every line style',
    js: (k) => k.diagram({values: [[1, 3, 2, 4], [2, 4, 3, 5], [3, 5, 4, 6], [4, 6, 5, 7], [5, 7, 6, 8]],
      kind: 'lines', styles: ['solid', 'dot', 'dash', 'dashdot', 'dashdotdot'], noGrid: true,
      width: 400, height: 250}),
    cli: ['diag', '--values', '1 3 2 4; 2 4 3 5; 3 5 4 6; 4 6 5 7; 5 7 6 8', '--kind', 'lines',
      '--styles', 'solid,dot,dash,dashdot,dashdotdot', '--no-grid', '--size', '400x250']},
  {name: 'colours, fonts, negative values and a legend box',
    js: (k) => k.diagram({values: [[-3.25, 4, 0.5], [2, -1.5, 6]], colors: ['#1f77b4', 'orange'],
      background: '#fffff0', textColor: 'navy', captionFont: 16, legendFill: true, decimals: 2,
      divisions: 4, gridVertical: true, width: 333, height: 211}),
    cli: ['diag', '--values', '-3.25 4 0.5; 2 -1.5 6', '--colors', '#1f77b4,orange',
      '--background', '#fffff0', '--text-color', 'navy', '--caption-font', '16', '--legend-fill',
      '--decimals', '2', '--divisions', '4', '--grid-vertical', '--size', '333x211']},
  {name: 'plot with arrows, zero and frame',
    js: (k) => k.plot('y=sin(x)*2', {x: [-7, 7], y: [-3, 3], arrows: true, zero: true, frame: true,
      width: 400, height: 250}),
    cli: ['plot', 'y=sin(x)*2', '--x', '-7:7', '--y', '-3:3', '--arrows', '--zero', '--frame',
      '--size', '400x250']},
  {name: 'plot with the argument upwards',
    js: (k) => k.plot('x=pow(y)(2)/4', {x: [-1, 7], y: [-5, 5], arrows: true, zero: true,
      color: 'green', width: 400, height: 250}),
    cli: ['plot', 'x=pow(y)(2)/4', '--x', '-1:7', '--y', '-5:5', '--arrows', '--zero',
      '--color', 'green', '--size', '400x250']},
  {name: 'plot with a small font and a step',
    js: (k) => k.plot('y=abs(x)-tg(x/3)', {x: [-9, 9], y: [-4, 6], step: 0.05, font: 9,
      captionX: 'time', captionY: 'level'}),
    cli: ['plot', 'y=abs(x)-tg(x/3)', '--x', '-9:9', '--y', '-4:6', '--step', '0.05', '--font', '9',
      '--caption-x', 'time', '--caption-y', 'level']},
];
