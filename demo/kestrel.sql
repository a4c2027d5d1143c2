-- Kestrel Trading Co., the demonstration database of KivDB: a small wholesaler of homeware that
-- sells to shops in four regions. It holds the business tables, the saved queries the report
-- schemes name (table XSP), and the navigation and display schemes themselves (XST1, XST2).
--
-- kivdb-demo runs this script on a new SQLite file, then loads the page template into XST3
-- (from template/) and draws the product pictures (the Picture column and the files named by
-- PictureFile). The script runs as one transaction and assumes an empty database.

-- ------------------------------------------------------------------------------------------------
-- The business
-- ------------------------------------------------------------------------------------------------

CREATE TABLE Regions (
  ID INTEGER PRIMARY KEY,
  Name VARCHAR(30) NOT NULL,
  Depot VARCHAR(30)
);
INSERT INTO Regions VALUES
  (1, 'North', 'Harrogate'),
  (2, 'Midlands', 'Leicester'),
  (3, 'South', 'Winchester'),
  (4, 'Coast', 'Truro');

CREATE TABLE Employees (
  ID INTEGER PRIMARY KEY,
  FirstName VARCHAR(30) NOT NULL,
  LastName VARCHAR(30) NOT NULL,
  Title VARCHAR(60),
  ReportsTo INTEGER REFERENCES Employees (ID),
  HireDate DATE,
  Extension VARCHAR(6),
  Salary CURRENCY
);
INSERT INTO Employees VALUES
  (1, 'Ruth', 'Calloway', 'Managing Director', NULL, '2009-03-02', '100', 86000),
  (2, 'Owen', 'Pryce', 'Sales Manager, North and Midlands', 1, '2012-09-17', '210', 54000),
  (3, 'Grace', 'Achebe', 'Sales Manager, South and Coast', 1, '2014-01-06', '220', 54000),
  (4, 'Tomasz', 'Nowak', 'Account Executive', 2, '2016-05-23', '211', 36500),
  (5, 'Priya', 'Raman', 'Account Executive', 2, '2018-02-12', '212', 35800),
  (6, 'Liam', 'Doherty', 'Account Executive', 3, '2017-11-01', '221', 36100),
  (7, 'Hannah', 'Ellery', 'Account Executive', 3, '2020-06-15', '222', 34200),
  (8, 'Ben', 'Okafor', 'Sales Trainee', 5, '2023-09-04', '213', 24500),
  (9, 'Isla', 'Murray', 'Warehouse Lead', 1, '2011-04-11', '300', 39900);

-- Customers are known by a key of five letters.
CREATE TABLE Customers (
  Code CHAR(5) PRIMARY KEY,
  Company VARCHAR(60) NOT NULL,
  Contact VARCHAR(40),
  City VARCHAR(30),
  RegionID INTEGER REFERENCES Regions (ID),
  AccountManager INTEGER REFERENCES Employees (ID),
  Phone VARCHAR(20),
  Since DATE,
  CreditLimit CURRENCY,
  Notes MEMO
);
INSERT INTO Customers VALUES
  ('HARBR', 'Harbour Lights Interiors', 'Megan Lowther', 'Whitby', 1, 4, '01947 600112',
   '2015-04-20', 12000, 'Deliveries by the harbour gate before 10 am.'),
  ('MOORS', 'Moorside Home Store', 'Declan Firth', 'Harrogate', 1, 2, '01423 771930',
   '2013-10-01', 20000, 'Our oldest customer in the North; orders by telephone.'),
  ('FELLS', 'Fellside Outdoor Living', 'Aisha Thorne', 'Kendal', 1, 4, '01539 224876',
   '2019-07-08', 8000, NULL),
  ('ASHEN', 'Ashen Lane Kitchens', 'Rob Kettering', 'Leicester', 2, 5, '0116 496 0321',
   '2016-02-15', 15000, 'Wants kitchen stock before Easter and Christmas.'),
  ('CANAL', 'Canal Wharf Emporium', 'Sunita Dhillon', 'Birmingham', 2, 5, '0121 496 0788',
   '2018-11-26', 10000, NULL),
  ('BRIAR', 'Briar & Bloom Garden Centre', 'Peter Lacey', 'Nottingham', 2, 5, '0115 496 0042',
   '2020-03-09', 9000, 'Garden lines only in season: March to September.'),
  ('DOWNS', 'Downs Country Stores', 'Helen Marchant', 'Lewes', 3, 6, '01273 470221',
   '2014-06-30', 14000, NULL),
  ('CHALK', 'Chalk Hill Hardware', 'Gareth Booth', 'Winchester', 3, 6, '01962 850613',
   '2017-01-16', 7500, 'Collects from the Winchester depot.'),
  ('ORCHD', 'Orchard Gate Gifts', 'Rosa Pennington', 'Canterbury', 3, 6, '01227 763904',
   '2021-05-04', 6000, NULL),
  ('QUAYS', 'Quayside Trading Post', 'Josh Trevail', 'Falmouth', 4, 3, '01326 318455',
   '2012-08-13', 16000, 'Seasonal shop: closed in January.'),
  ('DUNES', 'Dunes & Driftwood', 'Kerensa Hoskin', 'St Ives', 4, 7, '01736 795310',
   '2019-03-25', 8500, NULL),
  ('MAGPY', 'Maggie''s Pantry', 'Maggie Polglase', 'Penzance', 4, 7, '01736 362278',
   '2022-10-10', 5000, 'Small shop, small orders, pays on the day.');

CREATE TABLE Categories (
  ID INTEGER PRIMARY KEY,
  Name VARCHAR(30) NOT NULL,
  Blurb VARCHAR(120)
);
INSERT INTO Categories VALUES
  (1, 'Kitchen', 'Mugs, cups and pots in glazed stoneware.'),
  (2, 'Garden', 'Pots and planters for windows, patios and kitchens.'),
  (3, 'Lighting', 'Desk, reading and table lamps.'),
  (4, 'Textiles', 'Cushions and covers in wool, cotton and linen.'),
  (5, 'Stationery', 'Notebooks and journals for the home.');

-- Picture holds the product photo shown on its page; PictureFile names the smaller copy that
-- catalogue pages show, relative to the folder of the report pages.
CREATE TABLE Products (
  ID INTEGER PRIMARY KEY,
  Name VARCHAR(40) NOT NULL,
  CategoryID INTEGER REFERENCES Categories (ID),
  UnitPrice CURRENCY,
  InStock INTEGER,
  ReorderLevel INTEGER,
  Description MEMO,
  PictureFile VARCHAR(60),
  Picture BLOB
);
INSERT INTO Products (ID, Name, CategoryID, UnitPrice, InStock, ReorderLevel, Description,
                      PictureFile) VALUES
  (1, 'Stoneware Mug', 1, 12.50, 140, 40, 'Glazed stoneware, 350 ml, dishwasher safe.',
   'products/p01.gif'),
  (2, 'Tall Latte Mug', 1, 9.75, 86, 40, 'Straight-sided mug for milky coffee, 450 ml.',
   'products/p02.gif'),
  (3, 'Espresso Cup Pair', 1, 14.00, 52, 20, 'Two thick-walled cups, 90 ml each.',
   'products/p03.gif'),
  (4, 'Terracotta Herb Pot', 2, 18.00, 64, 25, 'Frost-proof pot with saucer, 18 cm.',
   'products/p04.gif'),
  (5, 'Glazed Planter', 2, 32.50, 23, 10, 'Large glazed planter for patios, 34 cm.',
   'products/p05.gif'),
  (6, 'Window Box Kit', 2, 24.00, 41, 15, 'Trough, liner and brackets for one window.',
   'products/p06.gif'),
  (7, 'Brass Desk Lamp', 3, 45.00, 18, 8, 'Adjustable arm, brushed brass, E14 bulb.',
   'products/p07.gif'),
  (8, 'Linen Shade Lamp', 3, 38.00, 27, 8, 'Table lamp with a natural linen shade.',
   'products/p08.gif'),
  (9, 'Reading Lamp', 3, 29.90, 35, 10, 'Floor-standing reading lamp with a dimmer.',
   'products/p09.gif'),
  (10, 'Striped Cushion', 4, 16.50, 96, 30, 'Woven cotton, 45 x 45 cm, feather pad.',
   'products/p10.gif'),
  (11, 'Wool Throw Cushion', 4, 22.00, 44, 15, 'Lambswool cover with a wooden button.',
   'products/p11.gif'),
  (12, 'Linen Cushion Cover', 4, 11.25, 120, 40, 'Washed linen cover, no pad.',
   'products/p12.gif'),
  (13, 'Spiral Notebook A5', 5, 4.80, 310, 100, 'Recycled paper, 120 lined pages.',
   'products/p13.gif'),
  (14, 'Recipe Journal', 5, 8.50, 75, 25, 'Hardback journal with recipe templates.',
   'products/p14.gif'),
  (15, 'Garden Diary', 5, 7.25, 58, 20, 'Week-to-view diary with sowing calendar.',
   'products/p15.gif');

CREATE TABLE Orders (
  ID INTEGER PRIMARY KEY,
  CustomerCode CHAR(5) REFERENCES Customers (Code),
  EmployeeID INTEGER REFERENCES Employees (ID),
  OrderDate DATE,
  ShippedDate DATE,
  Freight CURRENCY
);

CREATE TABLE OrderLines (
  ID INTEGER PRIMARY KEY,
  OrderID INTEGER REFERENCES Orders (ID),
  ProductID INTEGER REFERENCES Products (ID),
  Quantity INTEGER,
  UnitPrice CURRENCY
);

-- A year of trade: 48 orders, four a month, every customer ordering four times. Most orders go
-- through the customer's account manager; the trainee and the director take a few themselves.
-- The last four orders have not been shipped yet.
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 48),
  c AS (SELECT Code, AccountManager, ROW_NUMBER() OVER (ORDER BY Code) - 1 AS k FROM Customers)
INSERT INTO Orders (ID, CustomerCode, EmployeeID, OrderDate, ShippedDate, Freight)
SELECT i, c.Code,
       CASE WHEN i % 9 = 0 THEN 8 WHEN i % 11 = 0 THEN 1 ELSE c.AccountManager END,
       date('2024-01-02', '+' || ((i - 1) * 7 + (i * 5) % 4) || ' days'),
       CASE WHEN i > 44 THEN NULL
            ELSE date('2024-01-02', '+' || ((i - 1) * 7 + (i * 5) % 4 + 2 + i % 3) || ' days')
       END,
       round(4.5 + (i * 37 % 20) * 0.75, 2)
FROM n JOIN c ON c.k = (i * 5) % 12
ORDER BY i;

-- One to three lines an order, each of another product; every product sells during the year.
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 48),
  k(j) AS (SELECT 1 UNION ALL SELECT j + 1 FROM k WHERE j < 3)
INSERT INTO OrderLines (OrderID, ProductID, Quantity, UnitPrice)
SELECT i, p.ID, 2 + (i * 7 + j * 3) % 9 * 2, p.UnitPrice
FROM n JOIN k ON j <= 1 + i % 3
       JOIN Products p ON p.ID = (i * 4 + j * 6) % 15 + 1
ORDER BY i, j;

-- Visits of the sales overview, written by its Execute Only paragraph.
CREATE TABLE Visits (
  ID INTEGER PRIMARY KEY,
  Page VARCHAR(40),
  SeenAt DATETIME
);

CREATE VIEW OrderTotals AS
SELECT o.ID, o.CustomerCode, o.EmployeeID, o.OrderDate, o.ShippedDate,
       count(l.ID) AS Lines, sum(l.Quantity) AS Units,
       round(sum(l.Quantity * l.UnitPrice), 2) AS Amount
FROM Orders o JOIN OrderLines l ON l.OrderID = o.ID
GROUP BY o.ID;

CREATE VIEW MonthlySales AS
SELECT CAST(strftime('%m', o.OrderDate) AS INTEGER) AS MonthNo,
       substr('JanFebMarAprMayJunJulAugSepOctNovDec',
              3 * CAST(strftime('%m', o.OrderDate) AS INTEGER) - 2, 3) AS Month,
       l.ProductID, l.Quantity, l.Quantity * l.UnitPrice AS Amount, o.ID AS OrderID,
       o.CustomerCode
FROM Orders o JOIN OrderLines l ON l.OrderID = o.ID;

-- ------------------------------------------------------------------------------------------------
-- Saved queries: what the schemes run as "EXEC name parameter". spG_ and spR_ queries fill the
-- navigation tree (key, caption); spW_ queries fill the report paragraphs (ID first); spE_
-- queries only act.
-- ------------------------------------------------------------------------------------------------

CREATE TABLE XSP (
  nameIs TEXT PRIMARY KEY COLLATE NOCASE,
  sqlIs TEXT
);
INSERT INTO XSP VALUES
-- The sales overview.
  ('spE_LogVisit',
   'INSERT INTO Visits (Page, SeenAt) VALUES (''Sales Overview'', datetime(''now''))'),
  ('spW_Summary',
   'SELECT 1 AS ID, (SELECT count(*) FROM Customers) AS Customers,
           (SELECT count(*) FROM Products) AS Products, count(*) AS Orders,
           sum(Units) AS UnitsSold, round(sum(Amount), 2) AS Revenue,
           min(OrderDate) AS FirstOrder, max(OrderDate) AS LastOrder
    FROM OrderTotals'),
  ('spW_MonthlySales',
   'SELECT MonthNo AS ID, Month, round(sum(Amount), 2) AS Revenue,
           count(DISTINCT OrderID) AS Orders, sum(Quantity) AS Units
    FROM MonthlySales GROUP BY MonthNo ORDER BY MonthNo'),
  ('spW_CategorySales',
   'SELECT c.ID, c.Name AS Category, round(sum(m.Amount), 2) AS Revenue
    FROM MonthlySales m JOIN Products p ON p.ID = m.ProductID
         JOIN Categories c ON c.ID = p.CategoryID
    GROUP BY c.ID ORDER BY c.Name'),
-- Regions, their customers and the customers' orders.
  ('spG_Regions', 'SELECT ID, Name FROM Regions ORDER BY Name'),
  ('spW_Regions',
   'SELECT r.ID, r.Name AS Region, count(DISTINCT c.Code) AS Customers, count(t.ID) AS Orders,
           round(sum(t.Amount), 2) AS Revenue
    FROM Regions r LEFT JOIN Customers c ON c.RegionID = r.ID
         LEFT JOIN OrderTotals t ON t.CustomerCode = c.Code
    GROUP BY r.ID ORDER BY r.Name'),
  ('spG_RegionCustomers',
   'SELECT Code, Company FROM Customers WHERE RegionID = ?1 ORDER BY Company'),
  ('spW_RegionHead',
   'SELECT r.ID, r.Name AS Region, r.Depot, e.FirstName || '' '' || e.LastName AS SalesManager
    FROM Regions r
         LEFT JOIN Employees e ON e.ID = CASE WHEN r.ID <= 2 THEN 2 ELSE 3 END
    WHERE r.ID = ?1'),
  ('spW_CustomersIn',
   'SELECT c.Code AS ID, c.Company, c.City, c.Contact, c.Phone, c.CreditLimit
    FROM Customers c JOIN Regions r ON r.ID = c.RegionID
    WHERE r.Name = ?1 ORDER BY c.Company'),
  ('spW_RegionShape',
   'SELECT ''SHAPE {SELECT Code AS ID, Company, City FROM Customers WHERE RegionID = '' || ?1 ||
           '' ORDER BY Company} APPEND ((SHAPE {SELECT o.ID, o.CustomerCode, o.OrderDate,
           o.ShippedDate FROM Orders o JOIN Customers c ON c.Code = o.CustomerCode
           WHERE c.RegionID = '' || ?1 || '' ORDER BY o.OrderDate} APPEND ({SELECT l.ID,
           l.OrderID, p.Name AS Product, l.Quantity, l.UnitPrice, round(l.Quantity * l.UnitPrice,
           2) AS Amount FROM OrderLines l JOIN Products p ON p.ID = l.ProductID ORDER BY l.ID}
           RELATE ID TO OrderID) AS Lines) RELATE ID TO CustomerCode) AS Orders'' AS ShapeCommand'),
  ('spG_CustomerOrders',
   'SELECT ID, ''Order '' || ID || '' of '' || OrderDate FROM Orders
    WHERE CustomerCode = ?1 ORDER BY OrderDate'),
  ('spW_Customer',
   'SELECT c.Code AS ID, c.Company, c.Contact, c.City, r.Name AS Region, c.Phone,
           c.Since AS CustomerSince, c.CreditLimit,
           e.FirstName || '' '' || e.LastName AS AccountManager, c.Notes
    FROM Customers c JOIN Regions r ON r.ID = c.RegionID
         LEFT JOIN Employees e ON e.ID = c.AccountManager
    WHERE c.Code = ?1'),
  ('spW_CustomerOrders',
   'SELECT ID, OrderDate, Lines, Units, Amount FROM OrderTotals
    WHERE CustomerCode = ?1 ORDER BY OrderDate'),
  ('spW_CustomerMonthly',
   'SELECT MonthNo AS ID, Month, round(sum(Amount), 2) AS Spent FROM MonthlySales
    WHERE CustomerCode = ?1 GROUP BY MonthNo ORDER BY MonthNo'),
  ('spW_Order',
   'SELECT o.ID, c.Company AS Customer, o.OrderDate, o.ShippedDate,
           e.FirstName || '' '' || e.LastName AS TakenBy, o.Freight
    FROM Orders o JOIN Customers c ON c.Code = o.CustomerCode
         JOIN Employees e ON e.ID = o.EmployeeID
    WHERE o.ID = ?1'),
  ('spW_OrderLines',
   'SELECT l.ID, p.Name AS Product, l.Quantity, l.UnitPrice,
           round(l.Quantity * l.UnitPrice, 2) AS Amount
    FROM OrderLines l JOIN Products p ON p.ID = l.ProductID
    WHERE l.OrderID = ?1 ORDER BY l.ID'),
-- Staff: who reports to whom, to any depth.
  ('spG_TopStaff',
   'SELECT ID, FirstName || '' '' || LastName FROM Employees WHERE ReportsTo IS NULL'),
  ('spR_Reports',
   'SELECT ID, FirstName || '' '' || LastName FROM Employees
    WHERE ReportsTo = ?1 ORDER BY LastName'),
  ('spW_Staff',
   'SELECT e.ID, e.FirstName || '' '' || e.LastName AS Name, e.Title,
           b.FirstName || '' '' || b.LastName AS ReportsTo, e.HireDate, e.Extension
    FROM Employees e LEFT JOIN Employees b ON b.ID = e.ReportsTo
    ORDER BY e.ReportsTo IS NOT NULL, e.ReportsTo, e.LastName'),
  ('spW_Employee',
   'SELECT e.ID, e.FirstName, e.LastName, e.Title, e.HireDate, e.Extension,
           b.FirstName || '' '' || b.LastName AS ReportsTo
    FROM Employees e LEFT JOIN Employees b ON b.ID = e.ReportsTo
    WHERE e.ID = ?1'),
  ('spW_Team',
   'SELECT e.ID, e.FirstName || '' '' || e.LastName AS Name, e.Title,
           count(t.ID) AS OrdersTaken, round(coalesce(sum(t.Amount), 0), 2) AS Revenue
    FROM Employees e LEFT JOIN OrderTotals t ON t.EmployeeID = e.ID
    WHERE e.ID = ?1 OR e.ReportsTo = ?1
    GROUP BY e.ID ORDER BY e.ID <> ?1, e.LastName'),
-- Products and their pictures.
  ('spG_Categories', 'SELECT ID, Name FROM Categories ORDER BY Name'),
  ('spW_AllProducts',
   'SELECT p.ID, p.PictureFile AS FILEPicture, p.Name, c.Name AS Category, p.UnitPrice
    FROM Products p JOIN Categories c ON c.ID = p.CategoryID ORDER BY c.Name, p.Name'),
  ('spG_CategoryProducts',
   'SELECT ID, Name FROM Products WHERE CategoryID = ?1 ORDER BY Name'),
  ('spW_Catalogue',
   'SELECT ID, PictureFile AS FILEPicture, Name, UnitPrice FROM Products
    WHERE CategoryID = ?1 ORDER BY Name'),
  ('spW_CategoryStock',
   'SELECT ID, Name, UnitPrice, InStock, ReorderLevel, round(UnitPrice * InStock, 2) AS StockValue
    FROM Products WHERE CategoryID = ?1 ORDER BY Name'),
  ('spW_Product',
   'SELECT p.ID, p.Picture AS IMGProduct, p.Name, c.Name AS Category, p.UnitPrice, p.InStock,
           p.ReorderLevel, p.Description
    FROM Products p JOIN Categories c ON c.ID = p.CategoryID WHERE p.ID = ?1'),
  ('spW_ProductMonthly',
   'SELECT MonthNo AS ID, Month, sum(Quantity) AS UnitsSold FROM MonthlySales
    WHERE ProductID = ?1 GROUP BY MonthNo ORDER BY MonthNo'),
  ('spW_ProductCustomers',
   'SELECT c.Code AS ID, c.Company, sum(m.Quantity) AS Units, round(sum(m.Amount), 2) AS Amount
    FROM MonthlySales m JOIN Customers c ON c.Code = m.CustomerCode
    WHERE m.ProductID = ?1 GROUP BY c.Code ORDER BY c.Company'),
-- Management only.
  ('spW_Salaries',
   'SELECT ID, FirstName || '' '' || LastName AS Name, Title, Salary FROM Employees
    ORDER BY Salary DESC, LastName'),
  ('spW_OpenOrders',
   'SELECT t.ID, ?1 AS AsOf, c.Company AS Customer, t.OrderDate, t.Units, t.Amount
    FROM OrderTotals t JOIN Customers c ON c.Code = t.CustomerCode
    WHERE t.ShippedDate IS NULL ORDER BY t.OrderDate'),
  ('spW_Visits', 'SELECT ID, Page, SeenAt FROM Visits ORDER BY ID DESC LIMIT 20');

-- ------------------------------------------------------------------------------------------------
-- The report schemes. Captions, titles and queries hold no comma or double quote, so that the
-- wizard's text files (XST1.txt, XST2.txt) carry them unchanged.
-- ------------------------------------------------------------------------------------------------

-- The navigation tree:
--   Data Browser
--   +- Sales Overview             N
--   +- Regions                    G  one Region per region
--   |  +- Region                  G  its customers (LKey)
--   |     +- Customer             G  its orders (CKey05: the five-letter code)
--   |        +- Order             N
--   +- Staff                      G  the managing director
--   |  +- Employee                R  the employees reporting to each, to any depth
--   +- Products                   G  one Category per category
--   |  +- Category                G  its products
--   |     +- Product              N
--   +- Management                 F  for role 1 only
--      +- Payroll, Open Orders, Visit Log   N
CREATE TABLE XST1 (
  ID INTEGER PRIMARY KEY,
  descriptionIs VARCHAR(100),
  typeIs CHAR(1),
  parentIs INTEGER,
  queryIs VARCHAR(200),
  parmIs VARCHAR(20),
  iconIs VARCHAR(50),
  roleIs VARCHAR(50)
);
INSERT INTO XST1 VALUES
  (1, 'Data Browser', 'F', 0, '', '', 'leaf', ''),
  (2, 'Sales Overview', 'N', 1, '', '', 'chart', ''),
  (3, 'Regions', 'G', 1, 'spG_Regions', 'None', 'globe', ''),
  (4, 'Region', 'G', 3, 'spG_RegionCustomers', 'LKey', 'map', ''),
  (5, 'Customer', 'G', 4, 'spG_CustomerOrders', 'CKey05', 'shop', ''),
  (6, 'Order', 'N', 5, '', '', 'order', ''),
  (7, 'Staff', 'G', 1, 'spG_TopStaff', 'None', 'people', ''),
  (8, 'Employee', 'R', 7, 'spR_Reports', 'LKey', 'person', ''),
  (9, 'Products', 'G', 1, 'spG_Categories', 'None', 'box', ''),
  (10, 'Category', 'G', 9, 'spG_CategoryProducts', 'LKey', 'folder', ''),
  (11, 'Product', 'N', 10, '', '', 'tag', ''),
  (12, 'Management', 'F', 1, '', '', 'lock', '1'),
  (13, 'Payroll', 'N', 12, '', '', 'money', '1'),
  (14, 'Open Orders', 'N', 12, '', '', 'truck', '1'),
  (15, 'Visit Log', 'N', 12, '', '', 'book', '1');

-- The paragraphs of every page. Types: C chart, H header, E execute only, M multi-chapter,
-- I image header, S table, T thumbnails.
CREATE TABLE XST2 (
  ID INTEGER PRIMARY KEY,
  XST1 INTEGER,
  seqNo INTEGER,
  titleIs VARCHAR(200),
  queryIs VARCHAR(200),
  parmIs VARCHAR(20),
  typeIs CHAR(1),
  formIs INTEGER,
  colsAre VARCHAR(200),
  extra VARCHAR(200)
);
INSERT INTO XST2 VALUES
  (1, 2, 1, 'Page visit', 'spE_LogVisit', 'None', 'E', 0, '', ''),
  (2, 2, 2, 'Kestrel Trading at a glance', 'spW_Summary', 'None', 'H', 0, '', ''),
  (3, 2, 3, 'Monthly sales', 'spW_MonthlySales', 'None', 'C', 0, 'All', ''),
  (4, 2, 4, 'Sales by month', 'spW_MonthlySales', 'None', 'S', 0, 'All', ''),
  (5, 2, 5, 'Revenue by category', 'spW_CategorySales', 'None', 'C', 0, '1:2', ''),
  (6, 3, 1, 'Regions', 'spW_Regions', 'None', 'S', 0, 'All', ''),
  (7, 4, 1, 'Region:', 'spW_RegionHead', 'LKey', 'H', 0, '', ''),
  (8, 4, 2, 'Customers in :', 'spW_CustomersIn', 'Text', 'S', 0, '5', ''),
  (9, 4, 3, 'Orders of the customers in :', 'spW_RegionShape', 'LKey', 'M', 0, '', ''),
  (10, 5, 1, 'Customer', 'spW_Customer', 'CKey05', 'H', 1, '', ''),
  (11, 5, 2, 'Orders', 'spW_CustomerOrders', 'CKey05', 'S', 0, 'All', ''),
  (12, 5, 3, 'Spending by month', 'spW_CustomerMonthly', 'CKey05', 'C', 0, '1:2', ''),
  (13, 6, 1, 'Order', 'spW_Order', 'LKey', 'H', 4, '', ''),
  (14, 6, 2, 'Order lines', 'spW_OrderLines', 'LKey', 'S', 0, '2:4', ''),
  (15, 7, 1, 'Everyone at Kestrel', 'spW_Staff', 'None', 'S', 0, '', ''),
  (16, 8, 1, 'Employee:', 'spW_Employee', 'LKey', 'H', 2, '', ''),
  (17, 8, 2, 'Team of :', 'spW_Team', 'LKey', 'S', 0, '3:4', ''),
  (18, 9, 1, 'All products', 'spW_AllProducts', 'None', 'T', 0,
   '<height>64</height> <width>64</width> <columns>3</columns> ' ||
   '<textposition>right</textposition>',
   ''),
  (19, 10, 1, 'Catalogue:', 'spW_Catalogue', 'LKey', 'T', 0,
   '<height>120</height> <width>120</width> <columns>3</columns> ' ||
   '<textposition>bottom</textposition>',
   ''),
  (20, 10, 2, 'Stock', 'spW_CategoryStock', 'LKey', 'S', 0, '3:5', ''),
  (21, 11, 1, 'Product:', 'spW_Product', 'LKey', 'I', 3, '', ''),
  (22, 11, 2, 'Units sold per month', 'spW_ProductMonthly', 'LKey', 'C', 0, '1:2', ''),
  (23, 11, 3, 'Bought by', 'spW_ProductCustomers', 'LKey', 'S', 0, 'All', ''),
  (24, 13, 1, 'Salaries', 'spW_Salaries', 'None', 'S', 0, '3', ''),
  (25, 14, 1, 'Orders not yet shipped', 'spW_OpenOrders', 'Today', 'S', 0, '4:5', ''),
  (26, 15, 1, 'The last twenty visits of the sales overview', 'spW_Visits', 'None', 'S', 0, '',
   '');

-- The page template, loaded by kivdb-demo from template/front_page.html (ID 1) and
-- template/page_head.html (ID 2).
CREATE TABLE XST3 (
  ID INTEGER PRIMARY KEY,
  nameIs VARCHAR(50),
  contentIs TEXT
);
