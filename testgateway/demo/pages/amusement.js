// Says how many offers the page's list holds, under its title.
function countOffers() {
  var items = document.getElementsByTagName('li');
  document.getElementById('offers').innerText = '共 ' + items.length + ' 件商品';
}
