local x = = 1
function f(