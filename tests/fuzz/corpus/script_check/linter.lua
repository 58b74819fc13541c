local a = 1
function f()
  local a = 2
  if a then end
  do return a end
  print(a, undefinedthing)
end
player = 1
